// What DEFINE and MATCH find in one dictionary, in UTF-8. A word that is not UTF-8, that
// the dictionary's code page cannot write, or that no key holds finds nothing: the
// protocol has one answer for all three, no match.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "match/strategy.h"
#include "open_dictionary.h"

namespace orviadic::serve {

struct Definition {
  std::string headword;
  std::string text;  // as lookup shows it, LF line ends
};

// The entries whose headword is word, case aside: the run lookup shows, best match first,
// without the entries that differ from it in accents (MATCH offers those). Never a
// neighbour's entry.
std::vector<Definition> defineWord(const OpenDictionary& dict, const std::string& word);

struct Matches {
  std::vector<std::string> words;  // each once
  std::string problem;             // a pattern that does not compile
};

// The words that match word under strategy, at most max of them. exact gives the
// headwords DEFINE would answer with.
Matches matchWord(const OpenDictionary& dict, match::Strategy strategy, const std::string& word,
                  uint32_t max);

}  // namespace orviadic::serve
