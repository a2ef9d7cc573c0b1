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
    EXPECT_EQ(isValidDictId(id), c.number(1) != 0);
    EXPECT_EQ(isCompanion(id), c.number(2) != 0);
    EXPECT_EQ(isUserEntryId(id), c.number(3) != 0);
    EXPECT_EQ(isMemoryFormId(id), c.number(4) != 0);
    EXPECT_EQ(lang::languageOf(id), c.number(5));
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
  const std::pair<const char*, bool> cases[] = {
      {"bank.hex", true},
      {"headword_unterminated.hex", false},
      {"length_past_buffer.hex", false},
      {"string_missing.hex", false},
      {"header_only.hex", false},
      {"shorter_than_header.hex", false},
  };
  for (const auto& [file, ok] : cases) {
    SCOPED_TRACE(file);
    const std::string bytes = testing::goldenBytes(std::string("index/") + file);
    IndexRecordView view;
    ASSERT_EQ(parseIndexRecord(reinterpret_cast<const uint8_t*>(bytes.data()),
                               uint32_t(bytes.size()), &view),
              ok);
    if (!ok) continue;
    EXPECT_EQ(view.recordLength, 30u);
    EXPECT_EQ(view.contentDictId, 0x7F010101u);
    EXPECT_EQ(view.contentRef, 0x02000005u);
    EXPECT_EQ(view.level(), 2u);
    EXPECT_EQ(view.recordNumber, 9u);
    EXPECT_STREQ(view.searchKey, "bank@2");
    EXPECT_EQ(view.searchKeyLength, 6u);
    EXPECT_STREQ(view.key(), "bank");
    EXPECT_EQ(view.keyLength(), 4u);
    EXPECT_STREQ(view.word(), "bank");
    EXPECT_EQ(view.wordLength(), 4u);
    EXPECT_EQ(view.lastByte, 0xB8);
  }
}

}  // namespace
}  // namespace orvia::dict
