// The code pages of the languages and the ASCII spellings the single-byte keys are made of.
#include <gtest/gtest.h>

#include <string>

#include "text/ascii_fold.h"
#include "text/code_page.h"

namespace orvia::text {
namespace {

struct Row {
  std::string in;
  bool ok;
  std::string out;
};

TEST(CodePage, ConvertsUtf8IntoWindows1252) {
  CodePageConverter converter(codePageName(1));
  ASSERT_TRUE(converter.valid());
  const Row rows[] = {
      {"apple", true, "apple"},
      {"caf\xC3\xA9", true, "caf\xE9"},
      {"\xE2\x82\xAC!", true, "\x80!"},     // the euro sign sits at 0x80
      {"\xE2\x80\x94", true, "\x97"},       // an em dash
      {"\xCE\xA9mega", false, ""},          // Greek is not in the code page
      {"caf\xC3", false, ""},               // UTF-8 cut short
      {"\xFF", false, ""},                  // not UTF-8 at all
      {std::string("a\0b", 3), false, ""},  // a zero byte cannot go in a record
      {"", true, ""},
  };
  for (const Row& row : rows) {
    std::string out;
    EXPECT_EQ(converter.convert(row.in, &out), row.ok) << row.in;
    if (row.ok) {
      EXPECT_EQ(out, row.out) << row.in;
    }
  }
}

TEST(AsciiFold, SpellsWindows1252InAscii) {
  const Row rows[] = {
      {"caf\xE9", true, "cafe"},   {"\xC6sir", true, "AEsir"},
      {"gro\xDF", true, "gross"},  {"\xDEorn", true, "THorn"},
      {"co\x96op", true, "co-op"}, {"\x93quoted\x94", true, "\"quoted\""},
      {"sof\xADt", true, "soft"},                           // the soft hyphen goes
      {"a\xA0z", true, "a z"},                              // a no-break space is a space
      {"\xC0\xFF", true, "Ay"},    {"\x80uro", false, ""},  // the euro sign has no letters
      {"\x81", false, ""},                                  // undefined in the code page
      {"x\xD7y", false, ""},                                // a multiplication sign
  };
  for (const Row& row : rows) {
    std::string out;
    EXPECT_EQ(foldToAscii(row.in, &out), row.ok) << row.in;
    if (row.ok) {
      EXPECT_EQ(out, row.out);
    }
  }
}

}  // namespace
}  // namespace orvia::text
