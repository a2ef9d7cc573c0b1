// The hand-written word lists of data/cjk/, compiled and read through the exports: the
// compiler leaves out exactly the entries it cannot key or keep in order and names why,
// the records stand in the collation's order, and every headword lands on its own record
// or on the first of its homograph run.
#include <gtest/gtest.h>

#include "support/case_table.h"
#include "support/compiled_index_checks.h"
#include "support/dictionary_fixtures.h"

namespace orvia::testing {
namespace {

using CjkWordLists = ExportsFixture;

TEST_F(CjkWordLists, CompileInOrderAndEveryHeadwordLands) {
  forEachCase("api/cjk_word_lists.txt", [&](const CaseRow& c) {
    const uint32_t dictId = uint32_t(c.number(1));
    const compile::CompiledIndex index =
        compileWordList(c.fields[0].c_str(), dictId, dir_.path()).index;
    std::string skipped, outOfOrder;
    for (const auto& [reason, count] : skippedByReason(index))
      skipped += reason + " " + std::to_string(count) + ", ";
    for (const compile::SkippedEntry& s : index.skipped)
      if (s.reason == compile::SkipReason::kOutOfOrder) outOfOrder += s.headword + " ";
    EXPECT_EQ(skipped, *c.bytes(2));
    EXPECT_EQ(outOfOrder, *c.bytes(3));
    const std::vector<std::string> keys = compiledKeys(index);
    ASSERT_EQ(keys.size(), index.recordCount);
    expectOrderedAndFound(dictId, keys);
  });
}

}  // namespace
}  // namespace orvia::testing
