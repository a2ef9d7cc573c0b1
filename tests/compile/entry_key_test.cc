#include "compile/key/entry_key.h"

#include <gtest/gtest.h>

#include <string>

namespace orvia::compile {
namespace {

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
