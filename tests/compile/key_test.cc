// The index's keys: why the compiler leaves a headword out, in each language (the reasons
// the compile report names); the sort and the order checks that put the records in key
// order; and the records' bytes.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "compile/key/entry_key.h"
#include "compile/key/index_record_builder.h"
#include "compile/key/merge_sort.h"
#include "compile/key/order_check.h"
#include "lang/lang_ops.h"
#include "support/case_table.h"

namespace orvia::compile {
namespace {

using namespace orvia::testing;

TEST(EntryKeyMaker, NamesWhyAHeadwordHasNoKey) {
  forEachCase("compile/key_refusals.txt", [&](const CaseRow& c) {
    EntryKeyMaker maker(uint32_t(c.number(0)));
    ASSERT_TRUE(maker.valid());
    SourceEntry entry;
    entry.headword = *c.bytes(2);
    EntryKey key;
    const std::optional<SkipReason> reason = maker.make(entry, &key);
    EXPECT_EQ(reason ? skipReasonName(*reason) : "usable", c.fields[3]);
    EXPECT_TRUE(reason || key.searchKey.size() < kUsableKeyLimit);
  });
}

// Random keys under a total order, under the English comparison over punctuation and
// spaces (where it stops being transitive: "-" < "- !" < "! -" < "-") and under answers
// fixed for each pair. The sort always ends with the same keys; the checks keep each key
// no later than the next and findable by a binary search; under a total order the sort
// is stable and the checks drop nothing.
TEST(SortAndCheck, GiveAPermutationInOrderUnderAnyComparison) {
  const DbCompareFn english = lang::getCompareKeysFn(1);
  std::mt19937 random(7);
  auto draw = [&random](const std::string& alphabet) {
    std::string key(1 + random() % 3, ' ');
    for (char& c : key) c = alphabet[random() % alphabet.size()];
    return key.front() == ' ' || key.back() == ' ' ? std::string("-") : key;
  };
  using Item = std::pair<std::string, size_t>;  // key, place in the source
  const struct {
    const char* alphabet;
    bool total;
    std::function<int(const Item&, const Item&)> compare;
  } cases[] = {
      {"abAB", true, [](const Item& a, const Item& b) { return a.first.compare(b.first); }},
      {"-.! ", false,
       [&](const Item& a, const Item& b) { return english(a.first.c_str(), b.first.c_str()); }},
      {"ab", false,  // an answer fixed for each pair, no order at all
       [](const Item& a, const Item& b) {
         return int(a.second * 7919 + b.second * 104729) % 3 - 1;
       }},
  };
  for (const auto& c : cases) {
    for (size_t n : {0, 1, 2, 3, 7, 8, 9, 31, 32, 33, 500}) {
      SCOPED_TRACE(std::string(c.alphabet) + " " + std::to_string(n));
      std::vector<Item> items;
      for (size_t i = 0; i < n; ++i) items.push_back({draw(c.alphabet), i});
      std::vector<Item> sorted = items;
      mergeSort(sorted, c.compare);
      std::vector<Item> same = sorted;
      std::sort(same.begin(), same.end());
      std::sort(items.begin(), items.end());
      ASSERT_EQ(same, items);

      size_t dropped = 0;
      const std::vector<Item> kept =
          keepOrderedAndFindable(sorted, c.compare, [&](const Item&) { ++dropped; });
      EXPECT_EQ(kept.size() + dropped, n);
      EXPECT_TRUE(!c.total || dropped == 0);
      const auto less = [&](const Item& a, const Item& b) { return c.compare(a, b) < 0; };
      for (size_t i = 0; i < kept.size(); ++i) {
        const int order = i == 0 ? -1 : c.compare(kept[i - 1], kept[i]);
        EXPECT_LE(order, 0) << kept[i - 1].first << " / " << kept[i].first;
        EXPECT_TRUE(!c.total || order < 0 || kept[i - 1].second < kept[i].second);  // stable
        const size_t at = std::lower_bound(kept.begin(), kept.end(), kept[i], less) - kept.begin();
        EXPECT_TRUE(at <= i && c.compare(kept[at], kept[i]) == 0) << kept[i].first << " not found";
      }
    }
  }
}

// The order check over byte values, and the search check over items already in order
// under a comparison where "a" goes before everything but "c", and "c" before "a"; every
// other pair by byte value.
TEST(OrderChecks, DropWhatBreaksTheOrderOrWhatASearchPassesBy) {
  auto byValue = [](char a, char b) { return a < b ? -1 : a > b ? 1 : 0; };
  auto circular = [&](char x, char y) {
    if (x == y || (x != 'a' && y != 'a')) return byValue(x, y);
    return x == 'a' ? (y == 'c' ? 1 : -1) : (x == 'c' ? -1 : 1);
  };
  forEachCase("compile/order_checks.txt", [&](const CaseRow& c) {
    const std::string given = *c.bytes(2);
    const std::vector<char> items(given.begin(), given.end());
    std::string dropped;
    const auto drop = [&](char item) { dropped += item; };
    const std::vector<char> kept = c.fields[0] == "order" ? keepInOrder(items, byValue, drop)
                                                          : keepFindable(items, circular, drop);
    EXPECT_EQ(std::string(kept.begin(), kept.end()), *c.bytes(3));
    EXPECT_EQ(dropped, *c.bytes(4));
  });
}

// The rows are in tests/data/compile/index_records.txt.
TEST(IndexRecordBuilder, LaysRecordsOutByteForByteOrRefusesThem) {
  forEachCase("compile/index_records.txt", [&](const CaseRow& c) {
    const std::string strings[] = {*c.bytes(7), *c.bytes(8), *c.bytes(9)};
    IndexRecordFields fields{uint32_t(c.number(1)),
                             uint32_t(c.number(2)),
                             uint8_t(c.number(3)),
                             {},
                             {},
                             uint32_t(c.number(6)),
                             strings[0],
                             strings[1],
                             strings[2]};
    if (c.fields[4] != "-") fields.extendedRef = uint32_t(c.number(4));
    if (c.fields[5] != "-") fields.vcode = uint8_t(c.number(5));
    const std::string expected = c.bytes(10).value_or("");
    EXPECT_EQ(indexRecordSize(fields), expected.size());
    std::string out(1100, '\xEE');
    const size_t size = buildIndexRecord(fields, reinterpret_cast<uint8_t*>(out.data()), 1100);
    EXPECT_EQ(out.substr(0, size), expected);
    // One byte short of its record, the buffer is left untouched.
    std::string small(expected.size(), '\xEE');
    const size_t shortOne = small.empty() ? 0 : small.size() - 1;
    EXPECT_EQ(buildIndexRecord(fields, reinterpret_cast<uint8_t*>(small.data()), shortOne), 0u);
    EXPECT_EQ(small, std::string(expected.size(), '\xEE'));
  });
}

}  // namespace
}  // namespace orvia::compile
