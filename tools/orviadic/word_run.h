// The entries a typed word names. The single-byte languages make their keys from a
// headword's ASCII spelling, and collate letters before case, so "Bank", "bank", its
// homographs "bank@2"... and "bänk" sit side by side in the index: one run of records.
// The library lands on one of them; the run is read from a window of keys around it, and each
// record is then told apart by how its headword differs from the word typed.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "open_dictionary.h"

namespace orviadic {

// How a record's headword compares with the word typed, best first.
enum class Match { kExact, kCase, kAccent };

struct RunEntry {
  uint32_t record = 0;
  std::string headword;  // in the code page, without a homograph number
  Match match = Match::kAccent;
};

struct WordRun {
  std::vector<RunEntry> entries;        // best match first, then in index order
  WordHandle landed{nullptr, nullptr};  // the record the library landed on
};

// The run of utf8 in dict, best match first. Throws CommandFailure when the code page
// cannot write the word or the dictionary cannot be searched.
WordRun findRun(const OpenDictionary& dict, const std::string& utf8);

// Whether the run holds the word: a headword equal to it, or equal but for case unless
// caseExact.
bool runHolds(const WordRun& run, bool caseExact);

const char* matchName(Match match);

// The text a record may share with others: its content without a first line that holds
// only its headword (white space collapsed, as in the index), which the compiler puts
// before a text that does not begin with it. Records of one run with the same shared text
// (a source entry under several headwords, or one listed twice) are shown once.
std::string sharedText(const std::string& content, const std::string& headword);

}  // namespace orviadic
