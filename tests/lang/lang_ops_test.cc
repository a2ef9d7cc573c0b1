// The table's cells: which family answers for each language code.
#include "lang/lang_ops.h"

#include <gtest/gtest.h>

#include <cstring>

#include "lang/single_byte.h"

namespace orvia::lang {
namespace {

TEST(LangOpTable, SingleByteCodesShareOneColumn) {
  for (uint32_t code : {1u, 6u, 7u, 8u, 9u}) {
    SCOPED_TRACE(code);
    EXPECT_EQ(getMakeSearchKeyFn(code), &single_byte::makeSearchKey);
    EXPECT_EQ(getKeyCharOffsetFn(code), &single_byte::keyCharOffset);
    EXPECT_EQ(getCompareKeysFn(code), &single_byte::compareKeys);
    EXPECT_EQ(getMatchLenFoldedFn(code), &single_byte::matchLenFolded);
    EXPECT_EQ(getMatchLenSignificantFn(code), &single_byte::matchLenSignificant);
    EXPECT_EQ(getMatchLenNoCaseFn(code), &single_byte::matchLenNoCase);
    EXPECT_EQ(getMatchLenExactFn(code), &single_byte::matchLenExact);
  }
}

TEST(LangOpTable, CodeZeroAndCodesFromTenAreStubs) {
  for (uint32_t code : {0u, 10u, 11u, 255u, 256u, 0x80000000u, 0xFFFFFFFFu}) {
    SCOPED_TRACE(code);
    char key[kKeyBufferSize];
    std::memset(key, 'x', sizeof key);
    EXPECT_EQ(getMakeSearchKeyFn(code)("apple", key), 0);
    EXPECT_EQ(key[0], '\0');
    EXPECT_EQ(key[1], 'x');  // the stub writes one byte only
    EXPECT_EQ(getKeyCharOffsetFn(code)("apple", 2), 0u);
    EXPECT_EQ(getCompareKeysFn(code)("apple", "pear"), 0);
    EXPECT_EQ(getCompareKeysFn(code)(nullptr, "pear"), 0);
    for (MatchLenFn match : {getMatchLenFoldedFn(code), getMatchLenSignificantFn(code),
                             getMatchLenNoCaseFn(code), getMatchLenExactFn(code)}) {
      EXPECT_EQ(match("same", "same"), 0u);  // never "equal throughout"
      EXPECT_EQ(match("", ""), 0u);
    }
    EXPECT_EQ(getCompareKeysFn(code), getCompareKeysFn(0));
  }
}

TEST(LangOpTable, LanguageComesFromAValidIdOnly) {
  EXPECT_EQ(languageOf(0x00010101), 1u);
  EXPECT_EQ(languageOf(0xFF010106), 6u);
  EXPECT_EQ(languageOf(0x00000101), 0u);
  EXPECT_EQ(languageOf(0x0001000C), 0u);
  EXPECT_EQ(languageOf(0x000101FF), 255u);  // valid; the selectors then fall back to code 0
}

}  // namespace
}  // namespace orvia::lang
