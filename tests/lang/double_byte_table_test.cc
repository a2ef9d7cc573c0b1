// The Chinese and Korean key operations over the case tables in tests/data/lang/, every
// string placed against a guard page, and their columns of the language table.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "lang/double_byte.h"
#include "lang/lang_ops.h"
#include "lang/text_at_page_end.h"
#include "support/case_table.h"

namespace orvia::lang::double_byte {
namespace {

using orvia::testing::CaseRow;
using orvia::testing::caseTable;
using orvia::testing::TextAtPageEnd;

int sign(int v) {
  return (v > 0) - (v < 0);
}

TEST(DoubleByteMakeSearchKey, WritesTheKeyItsZerosAndNothingMore) {
  TextAtPageEnd word, buffer;
  for (const CaseRow& c : caseTable("lang/double_byte_make_search_key.txt")) {
    SCOPED_TRACE(c.line);
    const std::string written = *c.bytes(3);
    char* key = buffer.fill(kKeyBufferSize, '\x55');
    EXPECT_EQ(languageOps(uint32_t(c.number(0))).makeSearchKey(word.place(c.bytes(2)), key),
              c.number(4));
    EXPECT_EQ(std::string(key, written.size()), written);
    EXPECT_EQ(key[written.size()], '\x55') << "wrote past the zeros";
  }
}

TEST(DoubleByteKeyCharOffset, CountsValidCharactersOnly) {
  TextAtPageEnd key;
  for (const CaseRow& c : caseTable("lang/double_byte_key_char_offset.txt")) {
    SCOPED_TRACE(c.line);
    EXPECT_EQ(languageOps(uint32_t(c.number(0))).keyCharOffset(key.place(c.bytes(1)), c.number(2)),
              c.number(3));
  }
}

TEST(DoubleByteCompareKeys, OrdersEachPairBothWaysRound) {
  TextAtPageEnd a, b;
  for (const CaseRow& c : caseTable("lang/double_byte_compare_keys.txt")) {
    SCOPED_TRACE(c.line);
    const char* pa = a.place(c.bytes(1));
    const char* pb = b.place(c.bytes(2));
    EXPECT_EQ(sign(compareKeysChinese(pa, pb)), c.number(3));
    EXPECT_EQ(sign(compareKeysChinese(pb, pa)), -c.number(3));
    EXPECT_EQ(sign(compareKeysKorean(pa, pb)), c.number(4));
    EXPECT_EQ(sign(compareKeysKorean(pb, pa)), -c.number(4));
  }
}

TEST(DoubleByteMatchLengths, AllThreeOnEachPairBothWaysRound) {
  TextAtPageEnd a, b;
  for (const CaseRow& c : caseTable("lang/double_byte_match_lengths.txt")) {
    SCOPED_TRACE(c.line);
    auto expected = [&](size_t i) { return c.fields.at(i) == "all" ? kMatchAll : c.number(i); };
    for (bool swapped : {false, true}) {
      const char* pa = a.place(c.bytes(swapped ? 1 : 0));
      const char* pb = b.place(c.bytes(swapped ? 0 : 1));
      EXPECT_EQ(matchLenSignificant(pa, pb), expected(2));
      EXPECT_EQ(matchLenNoCase(pa, pb), expected(3));
      EXPECT_EQ(matchLenExact(pa, pb), expected(4));
    }
  }
}

// Both Chinese codes hand the store one comparison and Korean another; one match length
// fills the folded and the significant rows.
TEST(DoubleByteLangOpTable, CodesTwoThreeAndFive) {
  const std::vector<LanguageOps> want = {
      {makeSearchKey<Encoding::kGb2312>, keyCharOffset<Encoding::kGb2312>, compareKeysChinese,
       matchLenSignificant, matchLenSignificant, matchLenNoCase, matchLenExact},
      {makeSearchKey<Encoding::kBig5>, keyCharOffset<Encoding::kBig5>, compareKeysChinese,
       matchLenSignificant, matchLenSignificant, matchLenNoCase, matchLenExact},
      {makeSearchKey<Encoding::kKsX1001>, keyCharOffset<Encoding::kKsX1001>, compareKeysKorean,
       matchLenSignificant, matchLenSignificant, matchLenNoCase, matchLenExact}};
  const uint32_t codes[] = {2, 3, 5};
  for (size_t i = 0; i < 3; ++i) {
    SCOPED_TRACE(codes[i]);
    EXPECT_EQ(std::memcmp(&languageOps(codes[i]), &want[i], sizeof want[i]), 0);
    EXPECT_EQ(getCompareKeysFn(codes[i]), want[i].compareKeys);
    EXPECT_EQ(getMatchLenFoldedFn(codes[i]), getMatchLenSignificantFn(codes[i]));
  }
}

}  // namespace
}  // namespace orvia::lang::double_byte
