// The checks that follow the sort: every item must go no later than the next one, and a
// binary search must find it. With a comparison that is not transitive a sort can leave
// pairs that disagree, and keys that a search passes by; these keep the rest and give up
// as few items as they can see to give up.
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

// With a comparison that is not transitive, items that agree with each of their
// neighbours can still be missed by a binary search, the way the record store seeks a
// key: with a < b < c < a kept as b, c, a and more, a search for b that meets a turns
// right and passes b by. Returns the items of ordered, in their order, but the first that
// a lower-bound search over ordered misses, and calls drop(item) for that one: leaving it
// out changes what the searches for the others meet. An item that compares equal to one
// before it may land there.
template <typename T, typename Compare, typename Drop>
std::vector<T> keepFindable(const std::vector<T>& ordered, Compare compare, Drop drop) {
  std::vector<T> kept;
  kept.reserve(ordered.size());
  for (size_t i = 0; i < ordered.size(); ++i) {
    if (kept.size() < i) {  // one is left out already
      kept.push_back(ordered[i]);
      continue;
    }
    size_t lo = 0, hi = ordered.size();
    while (lo < hi) {
      const size_t mid = lo + (hi - lo) / 2;
      if (compare(ordered[mid], ordered[i]) < 0)
        lo = mid + 1;
      else
        hi = mid;
    }
    if (lo <= i && compare(ordered[lo], ordered[i]) == 0) {
      kept.push_back(ordered[i]);
    } else {
      drop(ordered[i]);
    }
  }
  return kept;
}

// Both checks, again and again until neither gives anything up: leaving an item out
// makes new neighbours and changes what a search meets.
template <typename T, typename Compare, typename Drop>
std::vector<T> keepOrderedAndFindable(const std::vector<T>& sorted, Compare compare, Drop drop) {
  std::vector<T> kept = keepInOrder(sorted, compare, drop);
  for (size_t before = 0; before != kept.size();) {
    before = kept.size();
    kept = keepInOrder(keepFindable(kept, compare, drop), compare, drop);
  }
  return kept;
}

}  // namespace orvia::compile
