// The Japanese key operations over the case tables in tests/data/lang/, every string
// placed against a guard page, the kana table against rows picked by hand, and column 4
// of the language table.
#include <gtest/gtest.h>

#include <cstring>

#include "lang/japanese.h"
#include "lang/japanese_chars.h"
#include "lang/lang_ops.h"
#include "lang/text_at_page_end.h"
#include "support/case_table.h"

namespace orvia::lang::japanese {
namespace {

using orvia::testing::CaseRow;
using orvia::testing::caseTable;
using orvia::testing::TextAtPageEnd;

int sign(int v) {
  return (v > 0) - (v < 0);
}

// Every string is placed against the guard page twice: once right after a kana, and once
// right after a lead byte that makes a kana with a half-width first byte. An operation
// that looked before the start would find a kana behind a long-vowel mark at offset 0 or 1
// and bind it.
const std::string kBefore[] = {"\x82\xA9", "\x82"};

TEST(JapaneseKanaTable, HandPickedRows) {
  for (const CaseRow& c : caseTable("lang/japanese_kana_table.txt")) {
    SCOPED_TRACE(c.line);
    const std::string kana = *c.bytes(1);
    const uint8_t lead = uint8_t(kana[0]), trail = uint8_t(kana[1]);
    ASSERT_TRUE(isKana(lead, trail));
    EXPECT_EQ(kanaPosition(lead, trail), c.number(2));
    EXPECT_EQ(kanaBase(lead, trail), c.number(3));
    EXPECT_EQ(kanaVowel(lead, trail), c.number(4));
  }
}

TEST(JapaneseMakeSearchKey, WritesTheKeyItsZerosAndNothingMore) {
  TextAtPageEnd word;
  TextAtPageEnd buffer;
  for (const CaseRow& c : caseTable("lang/japanese_make_search_key.txt")) {
    SCOPED_TRACE(c.line);
    const std::string written = *c.bytes(2);
    for (const std::string& before : kBefore) {
      char* key = buffer.fill(kKeyBufferSize, '\x55');
      EXPECT_EQ(makeSearchKey(word.place(c.bytes(1), before), key), c.number(3));
      EXPECT_EQ(std::string(key, written.size()), written);
      EXPECT_EQ(key[written.size()], '\x55') << "wrote past the zeros";
    }
  }
  EXPECT_EQ(makeSearchKey("\x82\xA9", nullptr), 0);
}

TEST(JapaneseKeyCharOffset, CountsSignificantCharactersOnly) {
  TextAtPageEnd key;
  for (const CaseRow& c : caseTable("lang/japanese_key_char_offset.txt")) {
    SCOPED_TRACE(c.line);
    for (const std::string& before : kBefore) {
      EXPECT_EQ(keyCharOffset(key.place(c.bytes(1), before), uint32_t(c.number(2))), c.number(3));
    }
  }
}

TEST(JapaneseCompareKeys, OrdersEachPairBothWaysRound) {
  TextAtPageEnd a, b;
  for (const CaseRow& c : caseTable("lang/japanese_compare_keys.txt")) {
    SCOPED_TRACE(c.line);
    for (const std::string& before : kBefore) {
      const char* pa = a.place(c.bytes(1), before);
      const char* pb = b.place(c.bytes(2), before);
      EXPECT_EQ(sign(compareKeys(pa, pb)), c.number(3));
      EXPECT_EQ(sign(compareKeys(pb, pa)), -c.number(3));
    }
  }
}

TEST(JapaneseMatchLengths, AllFourOnEachPairBothWaysRound) {
  TextAtPageEnd a, b;
  for (const CaseRow& c : caseTable("lang/japanese_match_lengths.txt")) {
    SCOPED_TRACE(c.line);
    auto expected = [&](size_t i) { return c.fields.at(i) == "all" ? kMatchAll : c.number(i); };
    for (const std::string& before : kBefore) {
      for (bool swapped : {false, true}) {
        const char* pa = a.place(c.bytes(swapped ? 1 : 0), before);
        const char* pb = b.place(c.bytes(swapped ? 0 : 1), before);
        EXPECT_EQ(matchLenFolded(pa, pb), expected(2));
        EXPECT_EQ(matchLenSignificant(pa, pb), expected(3));
        EXPECT_EQ(matchLenNoCase(pa, pb), expected(4));
        EXPECT_EQ(matchLenExact(pa, pb), expected(5));
      }
    }
  }
}

TEST(JapaneseLangOpTable, CodeFour) {
  const LanguageOps want = {makeSearchKey,       keyCharOffset,  compareKeys,  matchLenFolded,
                            matchLenSignificant, matchLenNoCase, matchLenExact};
  EXPECT_EQ(std::memcmp(&languageOps(4), &want, sizeof want), 0);
  EXPECT_EQ(getCompareKeysFn(4), compareKeys);
  EXPECT_EQ(languageOf(0x00020104), 4u);
}

}  // namespace
}  // namespace orvia::lang::japanese
