#include "compile/index/entry_key.h"

#include <gtest/gtest.h>

#include <string>

#include "compile/index/ascii_fold.h"
#include "compile/index/code_page.h"

namespace orvia::compile {
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

TEST(AsciiFold, SpellsWindows1252InAscii) {
  struct Row {
    std::string windows1252;
    bool ok;
    std::string ascii;
  };
  const Row rows[] = {
      {"caf\xE9", true, "cafe"},
      {"\xC6sir", true, "AEsir"},
      {"stra\xDF"
       "e",
       true, "strasse"},
      {"\xDE"
       "orn",
       true, "THorn"},
      {"co\x96op", true, "co-op"},
      {"\x93quoted\x94", true, "\"quoted\""},
      {"sof\xADt", true, "soft"},  // the soft hyphen goes
      {"a\xA0"
       "b",
       true, "a b"},  // a no-break space is a space
      {"\xC0\xFF", true, "Ay"},
      {"\x80uro", false, ""},  // the euro sign has no letters
      {"\x81", false, ""},     // undefined in the code page
      {"x\xD7y", false, ""},   // a multiplication sign
  };
  for (const Row& row : rows) {
    std::string out;
    EXPECT_EQ(foldToAscii(row.windows1252, &out), row.ok) << row.windows1252;
    if (row.ok) {
      EXPECT_EQ(out, row.ascii);
    }
  }
}

TEST(CollapseWhiteSpace, TrimsAndReducesRuns) {
  EXPECT_EQ(collapseWhiteSpace("  Big \t Apple \n"), "Big Apple");
  EXPECT_EQ(collapseWhiteSpace(" \r\n "), "");
  EXPECT_EQ(collapseWhiteSpace("a"), "a");
}

TEST(EntryKeyMaker, MakesTheKeyFromTheAsciiSpellingAndShowsTheCodePage) {
  EntryKeyMaker keys(1);
  ASSERT_TRUE(keys.valid());
  struct Row {
    const char* headword;
    const char* display;
    const char* searchKey;
    const char* shown;
    const char* displayWord;
  };
  const Row rows[] = {
      {"apple", "", "apple", "apple", ""},
      {"caf\xC3\xA9", "", "cafe", "caf\xE9", ""},
      {"  Big   Apple ", "the Big Apple", "Big Apple", "Big Apple", "the Big Apple"},
      {"x-ray", "x-ray", "x-ray", "x-ray", ""},  // a display word like the key is dropped
      {"cr\xC3\xA8me  br\xC3\xBBl\xC3\xA9"
       "e",
       "", "creme brulee",
       "cr\xE8me br\xFBl\xE9"
       "e",
       ""},
  };
  for (const Row& row : rows) {
    SourceEntry entry;
    entry.headword = row.headword;
    entry.displayWord = row.display;
    EntryKey key;
    ASSERT_EQ(keys.make(entry, &key), std::nullopt) << row.headword;
    EXPECT_EQ(key.searchKey, row.searchKey);
    EXPECT_EQ(key.shown, row.shown);
    EXPECT_EQ(key.displayWord, row.displayWord);
  }
}

TEST(EntryKeyMaker, NamesWhyAnEntryHasNoKey) {
  EntryKeyMaker keys(1);
  struct Row {
    std::string headword, display;
    SkipReason reason;
  };
  const Row rows[] = {
      {"\xCE\xA9mega", "", SkipReason::kNotInCodePage},
      {"omega", "\xCE\xA9", SkipReason::kNotInCodePage},
      {"caf\xC3", "", SkipReason::kNotInCodePage},
      {"\xE2\x82\xACuro", "", SkipReason::kNoAsciiSpelling},
      {"at@home", "", SkipReason::kHoldsAt},
      {"word@2", "", SkipReason::kHoldsAt},
      {"", "", SkipReason::kEmptyKey},
      {" \t ", "", SkipReason::kEmptyKey},
      {std::string(244, 'a'), "", SkipReason::kKeyTooLong},
      {std::string(300, 'a'), "", SkipReason::kKeyTooLong},
  };
  for (const Row& row : rows) {
    SourceEntry entry;
    entry.headword = row.headword;
    entry.displayWord = row.display;
    EntryKey key;
    EXPECT_EQ(keys.make(entry, &key), row.reason) << row.headword;
  }
  SourceEntry fits;
  fits.headword = std::string(243, 'a');
  EntryKey key;
  EXPECT_EQ(keys.make(fits, &key), std::nullopt);
  EXPECT_EQ(key.searchKey.size(), 243u);
}

TEST(EntryKeyMaker, ALanguageWithoutCodePageMakesNoKeys) {
  EntryKeyMaker keys(0);
  EXPECT_FALSE(keys.valid());
  SourceEntry entry;
  entry.headword = "apple";
  EntryKey key;
  EXPECT_EQ(keys.make(entry, &key), SkipReason::kNotInCodePage);
}

}  // namespace
}  // namespace orvia::compile
