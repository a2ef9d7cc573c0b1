// Dictionary ids, file names and index records.
#include <gtest/gtest.h>

#include "dict/dict_id.h"
#include "dict/index_record.h"
#include "lang/lang_ops.h"
#include "support/case_table.h"
#include "support/golden.h"

namespace orvia::dict {
namespace {

TEST(DictId, KindsAndLanguages) {
  for (const testing::CaseRow& c : testing::caseTable("dict/ids.txt")) {
    SCOPED_TRACE(c.line);
    const uint32_t id = uint32_t(c.number(0));
    const int64_t got[] = {isValidDictId(id), isCompanion(id), isUserEntryId(id),
                           isMemoryFormId(id), lang::languageOf(id)};
    for (size_t i = 0; i < std::size(got); ++i) EXPECT_EQ(got[i], c.number(i + 1)) << i;
  }
}

TEST(DictId, CompatibilityHasWildcardsInTheLanguageBytesOnly) {
  for (const testing::CaseRow& c : testing::caseTable("dict/compatible_ids.txt")) {
    SCOPED_TRACE(c.line);
    EXPECT_EQ(dictIdsCompatible(uint32_t(c.number(0)), uint32_t(c.number(1))), c.number(2) != 0);
    EXPECT_EQ(dictIdsCompatible(uint32_t(c.number(1)), uint32_t(c.number(0))), c.number(2) != 0);
  }
}

TEST(DictId, FileNameCutsALongExtensionToTheBuffer) {
  char name[kFileNameBufferSize];
  buildDictFileName(0xABCDEF01, name, ".extension-too-long");
  EXPECT_STREQ(name, "ABCDEF01.extens");
  buildDictFileName(0x000A0B01, name, nullptr);
  EXPECT_STREQ(name, "000A0B01");
}

TEST(IndexRecord, GoldenFiles) {
  for (const testing::CaseRow& c : testing::caseTable("index/records.txt")) {
    SCOPED_TRACE(c.line);
    const std::string bytes = testing::goldenBytes("index/" + c.fields.at(0));
    IndexRecordView v;
    ASSERT_EQ(parseIndexRecord(reinterpret_cast<const uint8_t*>(bytes.data()),
                               uint32_t(bytes.size()), &v),
              c.number(1) != 0);
    if (c.number(1) == 0) continue;
    const int64_t numbers[] = {v.recordLength, v.contentDictId, v.contentRef,
                               v.level(),      v.recordNumber,  v.searchKeyLength,
                               v.keyLength(),  v.wordLength(),  v.lastByte};
    for (size_t i = 0; i < std::size(numbers); ++i) EXPECT_EQ(numbers[i], c.number(i + 2)) << i;
    EXPECT_EQ(c.list(11), std::vector<std::string>({v.searchKey, v.key(), v.word()}));
  }
}

}  // namespace
}  // namespace orvia::dict
