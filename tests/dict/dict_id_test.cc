#include "dict/dict_id.h"

#include <gtest/gtest.h>

#include "lang/lang_ops.h"

namespace orvia::dict {
namespace {

TEST(DictId, ValidityAndLanguage) {
  struct Case {
    uint32_t id;
    bool valid;
    uint32_t language;
  };
  const Case cases[] =
      {
          {0x00010203, true, 3},  {0xFF010203, true, 3},  {0x00000203, false, 0},
          {0x00010003, false, 0}, {0x00010200, false, 0}, {0x000A0B01, true, 1},
          {0x0001010C, true, 12},  // language codes of 10 or more are kept here
      };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.id);
    EXPECT_EQ(isValidDictId(c.id), c.valid);
    EXPECT_EQ(lang::languageOf(c.id), c.language);
  }
}

TEST(DictId, CompanionsShareTheLow24Bits) {
  EXPECT_EQ(recordDictId(0x00010203), 0x7F010203u);
  EXPECT_EQ(memDictId(0x80010203), 0xFF010203u);
  EXPECT_EQ(newWordDictId(0xFF010203), 0x80010203u);
  EXPECT_TRUE(isCompanion(0x7F010203));
  EXPECT_FALSE(isCompanion(0x01010203));
  EXPECT_FALSE(isCompanion(0x7F000203));
}

TEST(DictId, CompatibilityAndContentKinds) {
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
  EXPECT_FALSE(isMemoryFormId(0x80010101));
  EXPECT_TRUE(isMemoryFormId(0x81010101));
  EXPECT_TRUE(isMemoryFormId(0xFF010101));
  EXPECT_FALSE(isMemoryFormId(0xFF000101));
  EXPECT_TRUE(isUserEntryId(0x7F010101));
  EXPECT_FALSE(isUserEntryId(0x81010101));
  EXPECT_FALSE(isUserEntryId(0x7F010001));
}

TEST(DictId, FileNamesAreEightUpperCaseDigits) {
  char name[kFileNameBufferSize];
  buildDictFileName(0x000A0B01, name, ".IDX");
  EXPECT_STREQ(name, "000A0B01.IDX");
  buildDictFileName(0x7F010203, name, ".DAT");
  EXPECT_STREQ(name, "7F010203.DAT");
  buildDictFileName(0xFFFFFFFF, name, nullptr);
  EXPECT_STREQ(name, "FFFFFFFF");
  buildDictFileName(0xABCDEF01, name, ".extension-too-long");
  EXPECT_STREQ(name, "ABCDEF01.extens");
  char hex[9];
  formatDictIdHex(0x00000000, hex);
  EXPECT_STREQ(hex, "00000000");
}

}  // namespace
}  // namespace orvia::dict
