#include "match/key_test.h"

#include "match/edit_distance.h"
#include "match/soundex.h"

namespace orviadic::match {

KeyTest::KeyTest(Strategy strategy, std::string word)
    : strategy_(strategy), word_(std::move(word)) {
  if (strategy_ == Strategy::kSoundex) soundex_ = soundexOf(word_);
  if (strategy_ == Strategy::kLev) editLimit_ = editLimitFor(word_.size());
  if (strategy_ != Strategy::kRegexp) return;
  const int error = regcomp(&regex_, word_.c_str(), REG_EXTENDED | REG_ICASE | REG_NOSUB);
  if (error == 0) {
    compiled_ = true;
    return;
  }
  char reason[256];
  regerror(error, &regex_, reason, sizeof reason);
  problem_ = std::string("the regular expression does not compile: ") + reason;
}

KeyTest::~KeyTest() {
  if (compiled_) regfree(&regex_);
}

size_t KeyTest::distance(std::string_view key) const {
  return editDistanceWithin(word_, key, editLimit_);
}

bool KeyTest::matches(std::string_view key) const {
  const std::string_view word = word_;
  switch (strategy_) {
    case Strategy::kExact:
    case Strategy::kNearest:
      return key == word;
    case Strategy::kPrefix:
      return key.substr(0, word.size()) == word;
    case Strategy::kSubstring:
      return key.find(word) != std::string_view::npos;
    case Strategy::kSuffix:
      return key.size() >= word.size() && key.substr(key.size() - word.size()) == word;
    case Strategy::kRegexp:
      return compiled_ && regexec(&regex_, key.data(), 0, nullptr, 0) == 0;
    case Strategy::kLev: {
      // The word's own entries are exact matches, not near ones.
      const size_t edits = distance(key);
      return edits != 0 && edits <= editLimit_;
    }
    case Strategy::kSoundex:
      return !soundex_.empty() && soundexOf(key) == soundex_;
  }
  return false;
}

}  // namespace orviadic::match
