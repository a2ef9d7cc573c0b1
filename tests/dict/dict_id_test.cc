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
