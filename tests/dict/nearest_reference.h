// The nearest-word search written plainly over a sorted array of search keys, with the
// store's seek side (the first key not before the sought one, else the last). A tie-break
// can be left out, so a test can show which tie-break decides a case.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace orvia::testing {

enum class Omit {
  kNothing,
  kFoldedStop,
  kNoCase,
  kSignificant,
  kExactStop,
  kOtherSide,
  kSpaceRule
};

// The index of the answer for the search key, or keys.size() when the search fails.
size_t referenceNearest(const std::vector<std::string>& keys, const std::string& key,
                        Omit omit = Omit::kNothing);

}  // namespace orvia::testing
