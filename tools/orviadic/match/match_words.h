// The words of a dictionary that match a word under a strategy, found through the
// library's exports only: the search for the landing point, the list windows for the
// keys, and one window of one word for each match.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "match/strategy.h"
#include "orviadic.h"

namespace orviadic::match {

struct MatchRequest {
  Strategy strategy = Strategy::kExact;
  // In the dictionary's code page and, in the single-byte languages, in the ASCII spelling
  // its keys are made from (the tool's toDictionaryWord).
  std::string word;
  // Whether the dictionary's keys are made from ASCII spellings (the single-byte
  // languages): their headwords are then folded the same way before they are compared.
  bool asciiKeys = true;
  // At most this many words; at least 1.
  uint32_t max = 1000;
};

struct MatchedWord {
  uint32_t record;   // the first record of the word
  std::string word;  // the record's word, in the dictionary's code page
};

struct MatchResult {
  std::vector<MatchedWord> words;  // in key order, each word once
  bool capped = false;             // more words matched than max
  std::string problem;             // non-empty when the request cannot run
};

MatchResult matchWords(HDICT* dict, const MatchRequest& request);

// Words to offer for a word the dictionary lacks: those within the lev strategy's distance,
// nearest first (a word that differs only in case or accents comes first; key order among
// equals), or when there are none the soundex matches; at most limit.
std::vector<MatchedWord> suggestWords(HDICT* dict, const std::string& word, bool asciiKeys,
                                      uint32_t limit);

}  // namespace orviadic::match
