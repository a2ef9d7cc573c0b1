// The index's keys: why the compiler leaves a headword out, in each language (the reasons
// the compile report names); the sort and the order checks that put the records in key
// order; and the records' bytes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "compile/key/entry_key.h"
#include "compile/key/index_record_builder.h"
#include "compile/key/merge_sort.h"
#include "compile/key/order_check.h"
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

// The merge sort, stable, over byte values with a letter's two cases equal; the order
// check over byte values; and the search check over items already in order under a
// comparison where "a" goes before everything but "c", and "c" before "a"; every other
// pair by byte value.
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
    std::vector<char> kept = items;
    if (c.fields[0] == "sort")
      mergeSort(kept, [&](char a, char b) { return byValue(a | 32, b | 32); });
    if (c.fields[0] == "order") kept = keepInOrder(items, byValue, drop);
    if (c.fields[0] == "findable") kept = keepFindable(items, circular, drop);
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
