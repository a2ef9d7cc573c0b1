// A bottom-up merge sort that needs nothing of its comparison: with any comparison,
// even one that is not transitive, it ends after about log2(n) passes and leaves a
// permutation of the items. std::sort and std::stable_sort promise neither for a
// comparison that is not a strict weak order, and the single-byte collation is not one
// over keys made only of punctuation.
#pragma once

#include <algorithm>
#include <cstddef>
#include <utility>
#include <vector>

namespace orvia::compile {

// Sorts items by compare(a, b), which returns a negative number when a goes before b.
// Stable: of two items that compare equal, the earlier stays first. When compare is a
// total order the result is sorted.
template <typename T, typename Compare>
void mergeSort(std::vector<T>& items, Compare compare) {
  const size_t n = items.size();
  if (n < 2) return;
  std::vector<T> merged(n);
  for (size_t width = 1; width < n; width *= 2) {
    for (size_t left = 0; left < n; left += 2 * width) {
      const size_t middle = std::min(left + width, n);
      const size_t right = std::min(left + 2 * width, n);
      size_t i = left, j = middle, out = left;
      while (i < middle && j < right)
        merged[out++] =
            compare(items[j], items[i]) < 0 ? std::move(items[j++]) : std::move(items[i++]);
      while (i < middle) merged[out++] = std::move(items[i++]);
      while (j < right) merged[out++] = std::move(items[j++]);
    }
    items.swap(merged);
  }
}

}  // namespace orvia::compile
