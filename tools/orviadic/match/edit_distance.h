// Levenshtein distance with a ceiling: how many single-byte insertions, deletions and
// substitutions turn one word into another, computed only as far as the ceiling.
#pragma once

#include <cstddef>
#include <string_view>

namespace orviadic::match {

// The distance between a and b when it is at most limit, else limit + 1. Costs
// O(limit * length) and nothing when the lengths alone differ by more than limit.
size_t editDistanceWithin(std::string_view a, std::string_view b, size_t limit);

// The distance the "lev" strategy allows for a word of length bytes: 1, and 2 from 6 on.
size_t editLimitFor(size_t length);

}  // namespace orviadic::match
