// Dictionary ids, file names and index records.
#include <gtest/gtest.h>

#include "dict/dict_id.h"
#include "dict/index_record.h"
#include "lang/lang_ops.h"
#include "support/golden.h"

namespace orvia::dict {
namespace {

TEST(DictId, KindsAndLanguages) {
  struct Case {
    uint32_t id;
    bool valid, companion, userEntry, memoryForm;
    uint32_t language;
  };
  // Each of the three low bytes must be non-zero; language codes of 10 or more are kept.
  const Case cases[] = {
      {0x00010203, true, false, false, false, 3},   {0x00000203, false, false, false, false, 0},
      {0x00010003, false, false, false, false, 0},  {0x00010200, false, false, false, false, 0},
      {0x000101FF, true, false, false, false, 255}, {0x7F01010C, true, true, true, false, 12},
      {0x7F000101, false, false, false, false, 0},  {0x80010106, true, true, false, false, 6},
      {0x81010101, true, false, false, true, 1},    {0xFF010101, true, true, true, true, 1},
      {0xFF000101, false, false, false, false, 0},  {0x01010203, true, false, false, false, 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << std::hex << c.id);
    EXPECT_EQ(isValidDictId(c.id), c.valid);
    EXPECT_EQ(isCompanion(c.id), c.companion);
    EXPECT_EQ(isUserEntryId(c.id), c.userEntry);
    EXPECT_EQ(isMemoryFormId(c.id), c.memoryForm);
    EXPECT_EQ(lang::languageOf(c.id), c.language);
  }
}

TEST(DictId, CompatibilityHasWildcardsInTheLanguageBytesOnly) {
  struct Case {
    uint32_t a, b;
    bool compatible;
  };
  const Case cases[] = {
      {0x00020101, 0x000201FF, true},   // byte 0 wildcard
      {0x0002FF01, 0x00020101, true},   // byte 1 wildcard
      {0x000201FF, 0x0002FF01, true},   // one wildcard on each side
      {0x00030101, 0x00020101, false},  // byte 2 must match exactly
      {0x00FF0101, 0x00020101, false},  // and 0xFF is no wildcard there
      {0x00020102, 0x00020101, false},  // key languages differ
      {0x00020201, 0x00020101, false},  // content languages differ
      {0xFF020101, 0x7F020101, true},   // kinds are not looked at
      {0x00020100, 0x00020101, false},  // a zero low byte
      {0x00020101, 0x00000101, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << std::hex << c.a << " " << c.b);
    EXPECT_EQ(dictIdsCompatible(c.a, c.b), c.compatible);
    EXPECT_EQ(dictIdsCompatible(c.b, c.a), c.compatible);
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
