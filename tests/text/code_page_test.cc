#include "text/code_page.h"

#include <gtest/gtest.h>

#include <string>

namespace orvia::text {
namespace {

TEST(CodePage, ConvertsUtf8IntoWindows1252) {
  CodePageConverter converter(codePageName(1));
  ASSERT_TRUE(converter.valid());
  struct Row {
    std::string utf8;
    bool ok;
    std::string windows1252;
  };
  const Row rows[] = {
      {"apple", true, "apple"},
      {"caf\xC3\xA9", true, "caf\xE9"},
      {"\xC3\x86sir", true, "\xC6sir"},
      {"\xE2\x82\xAC"
       "5",
       true,
       "\x80"
       "5"},                                // the euro sign sits at 0x80
      {"\xE2\x80\x94", true, "\x97"},       // an em dash
      {"\xCE\xA9mega", false, ""},          // Greek is not in the code page
      {"caf\xC3", false, ""},               // UTF-8 cut short
      {"\xFF", false, ""},                  // not UTF-8 at all
      {std::string("a\0b", 3), false, ""},  // a zero byte cannot go in a record
      {"", true, ""},
  };
  for (const Row& row : rows) {
    std::string out;
    EXPECT_EQ(converter.convert(row.utf8, &out), row.ok) << row.utf8;
    if (row.ok) {
      EXPECT_EQ(out, row.windows1252) << row.utf8;
    }
  }
}

TEST(CodePage, EachLanguageHasItsOwn) {
  EXPECT_STREQ(codePageName(1), "WINDOWS-1252");
  EXPECT_STREQ(codePageName(9), "WINDOWS-1252");
  EXPECT_STREQ(codePageName(2), "GB2312");
  EXPECT_STREQ(codePageName(4), "SHIFT_JIS");
  EXPECT_EQ(codePageName(0), nullptr);
  EXPECT_EQ(codePageName(10), nullptr);
}

}  // namespace
}  // namespace orvia::text
