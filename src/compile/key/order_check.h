// The check that follows the sort: every item must go no later than the next one. With a
// comparison that is not transitive a sort can leave pairs that disagree; this keeps the
// rest and gives up as few items as it can see to give up.
#pragma once

#include <cstddef>
#include <vector>

namespace orvia::compile {

// Returns the items of sorted, in their order, such that compare(kept[i], kept[i + 1])
// is never positive, and calls drop(item) for each item left out. Where an item and the
// next disagree, the one that fits between its own neighbours is kept.
template <typename T, typename Compare, typename Drop>
std::vector<T> keepInOrder(const std::vector<T>& sorted, Compare compare, Drop drop) {
  std::vector<T> kept;
  kept.reserve(sorted.size());
  for (size_t i = 0; i < sorted.size(); ++i) {
    const T& current = sorted[i];
    if (kept.empty() || compare(kept.back(), current) <= 0) {
      kept.push_back(current);
      continue;
    }
    const bool fitsBefore = kept.size() < 2 || compare(kept[kept.size() - 2], current) <= 0;
    const bool fitsAfter = i + 1 == sorted.size() || compare(current, sorted[i + 1]) <= 0;
    if (fitsBefore && fitsAfter) {
      drop(kept.back());
      kept.back() = current;
    } else {
      drop(current);
    }
  }
  return kept;
}

}  // namespace orvia::compile
