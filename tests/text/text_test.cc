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

// Each language's code page, told by a character only it spells that way.
TEST(CodePage, EachLanguageHasItsOwn) {
  struct LanguageRow {
    uint32_t code;
    const char* utf8;
    const char* spelled;  // null: the language has no code page
  };
  const LanguageRow rows[] = {
      {1, "\xC3\xA9", "\xE9"},
      {9, "\xC3\xA9", "\xE9"},
      {2, "\xE4\xB8\xAD", "\xD6\xD0"},  // U+4E2D in GB2312
      {3, "\xE4\xB8\xAD", "\xA4\xA4"},  // in Big5
      {4, "\xE4\xB8\xAD", "\x92\x86"},  // in Shift-JIS
      {5, "\xEA\xB0\x80", "\xB0\xA1"},  // U+AC00, the first Hangul syllable, in EUC-KR
      {0, "", nullptr},
      {10, "", nullptr},
  };
  for (const LanguageRow& row : rows) {
    SCOPED_TRACE(row.code);
    const char* name = codePageName(row.code);
    ASSERT_EQ(name != nullptr, row.spelled != nullptr);
    if (name == nullptr) continue;
    CodePageConverter converter(name);
    std::string out;
    ASSERT_TRUE(converter.convert(row.utf8, &out));
    EXPECT_EQ(out, row.spelled);
  }
}

// What the code page lacks becomes a character reference; what is not UTF-8 (a cut or
// overlong sequence, a surrogate) and zero bytes become '?', one per byte.
TEST(CodePage, ReplacesWhatItCannotConvert) {
  CodePageConverter converter(codePageName(1));
  const Row rows[] = {
      {"a\xCE\xA9"
       "b",
       true, "a&#x3A9;b"},
      {"\xED\xA0\x80!", true,
       "?"
       "?"
       "?!"},
      {"\xC0\xAF", true,
       "?"
       "?"},
      {std::string("a\0b", 3), true, "a?b"},
  };
  for (const Row& row : rows) {
    std::string out;
    EXPECT_TRUE(converter.convertReplacing(row.in, &out));
    EXPECT_EQ(out, row.out) << row.in;
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
