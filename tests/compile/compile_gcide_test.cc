#include <gtest/gtest.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "compile/index/dictd_source.h"
#include "compiled_index.h"
#include "support/temp_dir.h"

namespace orvia::compile {
namespace {

constexpr uint32_t kGcide = 0x00010101;
const char kGcideBase[] = "/usr/share/dictd/gcide";

bool gcideInstalled() {
  return access("/usr/share/dictd/gcide.index", R_OK) == 0;
}

// Texts are read by offset from the dictzip body, in the index's order that jumps back
// and forth through it.
TEST(GcideSource, ReadsEveryEntrysText) {
  if (!gcideInstalled()) GTEST_SKIP() << "the dict-gcide package is not installed";
  DictdSource source;
  ASSERT_TRUE(source.open(kGcideBase, WithText::kYes)) << source.problem();
  SourceEntry entry;
  size_t entries = 0, empty = 0, apple = 0;
  for (ReadResult r; (r = source.next(&entry)) != ReadResult::kEnd;) {
    ASSERT_EQ(r, ReadResult::kEntry) << source.problem();
    ++entries;
    empty += entry.text.empty();
    if (entry.headword == "Apple" && entry.text.find("fruit") != std::string::npos) ++apple;
  }
  EXPECT_GT(entries, 200000u);
  EXPECT_EQ(empty, 0u);
  EXPECT_EQ(apple, 1u);
}

// The whole compiled index is in collation order: each record before the next.
TEST(CompiledGcide, CompareKeysOrdersTheWholeIndex) {
  if (!gcideInstalled()) GTEST_SKIP() << "the dict-gcide package is not installed";
  orvia::testing::TempDir dir;
  DictdSource source;
  ASSERT_TRUE(source.open(kGcideBase, WithText::kNo)) << source.problem();
  CompiledIndex index = testing::compileInto(source, kGcide, dir.path());
  std::vector<testing::StoredRecord> records =
      testing::readIndexFile(indexFilePath(dir.path(), kGcide), kGcide);
  ASSERT_EQ(records.size(), index.recordCount);
  EXPECT_GT(records.size(), 190000u);
  DbCompareFn compare = lang::getCompareKeysFn(1);
  size_t disorder = 0;
  for (size_t i = 1; i < records.size(); ++i) {
    if (compare(records[i - 1].searchKey.c_str(), records[i].searchKey.c_str()) >= 0 &&
        ++disorder <= 10)
      ADD_FAILURE() << records[i - 1].searchKey << " is not before " << records[i].searchKey;
  }
  EXPECT_EQ(disorder, 0u);
}

}  // namespace
}  // namespace orvia::compile
