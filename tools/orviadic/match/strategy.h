// The ways a word can match the keys of a dictionary, by the names users and DICT
// clients give them.
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

namespace orviadic::match {

enum class Strategy { kExact, kPrefix, kNearest, kSubstring, kSuffix, kRegexp, kLev, kSoundex };

struct StrategyInfo {
  Strategy strategy;
  const char* name;
  const char* description;
};

// Every strategy, in the order they are listed to users.
inline constexpr StrategyInfo kStrategies[] = {
    {Strategy::kExact, "exact", "Keys equal to the word, case aside"},
    {Strategy::kPrefix, "prefix", "Keys that begin with the word"},
    {Strategy::kNearest, "nearest", "The entry the library's own search lands on"},
    {Strategy::kSubstring, "substring", "Keys that hold the word"},
    {Strategy::kSuffix, "suffix", "Keys that end with the word"},
    {Strategy::kRegexp, "regexp", "Keys matching a POSIX extended regular expression"},
    {Strategy::kLev, "lev", "Keys one edit away (two for words of 6 letters or more)"},
    {Strategy::kSoundex, "soundex", "Keys that sound alike by Soundex"},
};

std::optional<Strategy> strategyNamed(std::string_view name);
const char* nameOf(Strategy strategy);

}  // namespace orviadic::match
