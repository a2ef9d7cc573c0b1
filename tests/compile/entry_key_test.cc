// Why the compiler leaves a headword out, in each language: the reasons the compile
// report names.
#include <gtest/gtest.h>

#include "compile/key/entry_key.h"
#include "support/case_table.h"
#include "support/japanese_operations.h"

namespace orvia::compile {
namespace {

TEST(EntryKeyMaker, NamesWhyAHeadwordHasNoKey) {
  const bool japanese = testing::japaneseOperationsBuilt();
  int waiting = 0;
  for (const testing::CaseRow& c : testing::caseTable("compile/key_refusals.txt")) {
    SCOPED_TRACE(c.line);
    const uint32_t code = uint32_t(c.number(0));
    if (code == 4 && !japanese) {
      ++waiting;
      continue;
    }
    EntryKeyMaker maker(code);
    ASSERT_TRUE(maker.valid());
    SourceEntry entry;
    entry.headword = *c.bytes(2);
    EntryKey key;
    const std::optional<SkipReason> reason = maker.make(entry, &key);
    EXPECT_EQ(reason ? skipReasonName(*reason) : "usable", c.fields[3]);
    EXPECT_TRUE(reason || key.searchKey.size() < kUsableKeyLimit);
  }
  if (waiting > 0) std::printf("%d Japanese rows wait for the code-4 operations\n", waiting);
}

}  // namespace
}  // namespace orvia::compile
