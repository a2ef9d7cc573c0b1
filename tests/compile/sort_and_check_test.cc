#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "compile/key/merge_sort.h"
#include "compile/key/order_check.h"
#include "lang/lang_ops.h"

namespace orvia::compile {
namespace {

int byValue(int a, int b) {
  return a < b ? -1 : a > b ? 1 : 0;
}

TEST(MergeSort, SortsEverySizeAroundThePowersOfTwo) {
  std::mt19937 random(7);
  for (size_t n : {0, 1, 2, 3, 4, 5, 7, 8, 9, 15, 16, 17, 31, 32, 33, 100, 1000}) {
    std::vector<int> items(n);
    for (int& item : items) item = int(random() % 50);
    std::vector<int> expected = items;
    std::sort(expected.begin(), expected.end());
    mergeSort(items, byValue);
    EXPECT_EQ(items, expected) << n;
  }
}

TEST(MergeSort, KeepsEqualItemsInTheirOrder) {
  std::vector<std::pair<int, int>> items;
  for (int i = 0; i < 40; ++i) items.push_back({(i * 7) % 5, i});
  mergeSort(items, [](const auto& a, const auto& b) { return byValue(a.first, b.first); });
  for (size_t i = 1; i < items.size(); ++i) {
    ASSERT_LE(items[i - 1].first, items[i].first);
    if (items[i - 1].first == items[i].first) {
      EXPECT_LT(items[i - 1].second, items[i].second);
    }
  }
}

// Rock, paper, scissors; and a comparison that answers at random. Neither is an order,
// so all a sort can promise is to end with the same items.
TEST(MergeSort, EndsWithAPermutationUnderAComparisonThatIsNoOrder) {
  std::mt19937 coin(11);
  struct Case {
    const char* name;
    std::function<int(int, int)> compare;
  };
  const Case cases[] = {
      {"cycle",
       [](int a, int b) { return (a % 3 + 1) % 3 == b % 3 ? -1
                                 : a % 3 == b % 3         ? 0
                                                          : 1; }},
      {"random", [&coin](int, int) { return int(coin() % 3) - 1; }},
      {"always before", [](int, int) { return -1; }},
  };
  for (const Case& c : cases) {
    std::vector<int> items(777);
    for (int i = 0; i < int(items.size()); ++i) items[size_t(i)] = (i * 389) % 777;
    mergeSort(items, c.compare);
    std::vector<int> sorted = items;
    std::sort(sorted.begin(), sorted.end());
    for (int i = 0; i < int(sorted.size()); ++i) ASSERT_EQ(sorted[size_t(i)], i) << c.name;
  }
}

// Keys of punctuation only are where the English comparison stops being transitive.
TEST(MergeSort, SortsPunctuationKeysWithTheEnglishComparison) {
  DbCompareFn compare = lang::getCompareKeysFn(1);
  std::vector<std::string> keys = {"-.", ".-", "!?", "...", "-", "?!", ".", "--", "!", "-!-"};
  std::vector<std::string> expected = keys;
  mergeSort(keys, [compare](const std::string& a, const std::string& b) {
    return compare(a.c_str(), b.c_str());
  });
  std::vector<std::string> sortedKeys = keys;
  std::sort(sortedKeys.begin(), sortedKeys.end());
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(sortedKeys, expected);
}

TEST(KeepInOrder, DropsTheItemThatBreaksTheOrder) {
  struct Row {
    const char* name;
    std::vector<int> sorted;
    std::vector<int> kept;
    std::vector<int> dropped;
  };
  const Row rows[] = {
      {"in order", {1, 2, 2, 3}, {1, 2, 2, 3}, {}},
      {"empty", {}, {}, {}},
      {"one too high", {1, 9, 3, 4}, {1, 3, 4}, {9}},
      {"one too low", {1, 2, 0, 4}, {1, 2, 4}, {0}},
      {"too high first", {9, 2, 3}, {2, 3}, {9}},
      {"too low last", {1, 2, 0}, {1, 2}, {0}},
      {"too high last", {1, 2, 3, 9, 4}, {1, 2, 3, 4}, {9}},
      {"two out of place", {5, 1, 2, 9, 3}, {1, 2, 3}, {5, 9}},
      {"descending", {4, 3, 2, 1}, {1}, {3, 2, 4}},
  };
  for (const Row& row : rows) {
    std::vector<int> dropped;
    std::vector<int> kept =
        keepInOrder(row.sorted, byValue, [&dropped](int item) { dropped.push_back(item); });
    EXPECT_EQ(dropped, row.dropped) << row.name;
    EXPECT_EQ(kept.size() + dropped.size(), row.sorted.size()) << row.name;
    EXPECT_EQ(kept, row.kept) << row.name;
  }
}

TEST(KeepInOrder, LeavesEveryNeighbourPairInOrderUnderAnyComparison) {
  std::vector<int> items(500);
  for (int i = 0; i < 500; ++i) items[size_t(i)] = i;
  auto compare = [](int a, int b) { return (a * 7919 + b * 104729) % 3 - 1; };
  size_t dropped = 0;
  std::vector<int> kept = keepInOrder(items, compare, [&dropped](int) { ++dropped; });
  EXPECT_EQ(kept.size() + dropped, items.size());
  for (size_t i = 1; i < kept.size(); ++i) EXPECT_LE(compare(kept[i - 1], kept[i]), 0);
}

}  // namespace
}  // namespace orvia::compile
