// Whether one folded key matches a word under a strategy that looks at every key:
// substring, suffix, regexp, lev and soundex (and exact and prefix, whose walks only
// visit the keys that can match).
#pragma once

#include <regex.h>

#include <cstddef>
#include <string>
#include <string_view>

#include "match/strategy.h"

namespace orviadic::match {

class KeyTest {
 public:
  // word is folded as the keys are, except for a regexp, which is taken as written and
  // matched without regard to case.
  KeyTest(Strategy strategy, std::string word);
  ~KeyTest();
  KeyTest(const KeyTest&) = delete;
  KeyTest& operator=(const KeyTest&) = delete;

  // Empty when the test can run; else why not (a regexp that does not compile).
  const std::string& problem() const { return problem_; }

  // key is a folded key; for the regexp it must be followed by a zero byte.
  bool matches(std::string_view key) const;
  // The edit distance of key from the word when it is at most editLimit(), else
  // editLimit() + 1. The lev strategy admits the keys from 1 to editLimit().
  size_t distance(std::string_view key) const;
  size_t editLimit() const { return editLimit_; }

 private:
  Strategy strategy_;
  std::string word_;
  std::string soundex_;
  size_t editLimit_ = 0;
  regex_t regex_;
  bool compiled_ = false;
  std::string problem_;
};

}  // namespace orviadic::match
