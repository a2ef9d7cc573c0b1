// The language operations: the single-byte family over the case tables in
// tests/data/lang/, and which family answers for each language code.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <memory>
#include <random>

#include "lang/lang_ops.h"
#include "lang/single_byte.h"
#include "support/case_table.h"

namespace orvia::lang::single_byte {
namespace {

using orvia::testing::CaseRow;
using orvia::testing::caseTable;

// A heap copy of exactly the text and its terminator, so that any read past the
// terminator trips the address sanitizer; null stays null.
std::unique_ptr<char[]> exactText(const std::optional<std::string>& text) {
  if (!text) return nullptr;
  auto copy = std::make_unique<char[]>(text->size() + 1);
  std::memcpy(copy.get(), text->c_str(), text->size() + 1);
  return copy;
}

int sign(int v) {
  return (v > 0) - (v < 0);
}

TEST(MakeSearchKey, WritesTheKeyItsTrailerAndNothingMore) {
  for (const CaseRow& c : caseTable("lang/make_search_key.txt")) {
    SCOPED_TRACE(c.line);
    const std::string written = *c.bytes(2);
    std::vector<char> key(kKeyBufferSize, '\x55');
    EXPECT_EQ(makeSearchKey(exactText(c.bytes(1)).get(), key.data()), c.number(3));
    EXPECT_EQ(std::string(key.data(), written.size()), written);
    EXPECT_EQ(key[written.size()], '\x55') << "wrote past the trailer";
  }
  EXPECT_EQ(makeSearchKey("word", nullptr), 0);
}

TEST(KeyCharOffset, CountsLettersAndWhiteSpaceOnly) {
  for (const CaseRow& c : caseTable("lang/key_char_offset.txt")) {
    SCOPED_TRACE(c.line);
    EXPECT_EQ(keyCharOffset(exactText(c.bytes(0)).get(), uint32_t(c.number(1))), c.number(2));
  }
}

TEST(CompareKeys, OrdersEachPairBothWaysRound) {
  for (const CaseRow& c : caseTable("lang/compare_keys.txt")) {
    SCOPED_TRACE(c.line);
    auto a = exactText(c.bytes(1)), b = exactText(c.bytes(2));
    EXPECT_EQ(sign(compareKeys(a.get(), b.get())), c.number(3));
    EXPECT_EQ(sign(compareKeys(b.get(), a.get())), -c.number(3));
  }
}

TEST(MatchLengths, AllFourOnEachPairBothWaysRound) {
  for (const CaseRow& c : caseTable("lang/match_lengths.txt")) {
    SCOPED_TRACE(c.line);
    auto expected = [&](size_t i) { return c.fields.at(i) == "all" ? kMatchAll : c.number(i); };
    for (bool swapped : {false, true}) {
      auto a = exactText(c.bytes(swapped ? 1 : 0)), b = exactText(c.bytes(swapped ? 0 : 1));
      EXPECT_EQ(matchLenFolded(a.get(), b.get()), expected(2));
      EXPECT_EQ(matchLenSignificant(a.get(), b.get()), expected(3));
      EXPECT_EQ(matchLenNoCase(a.get(), b.get()), expected(4));
      EXPECT_EQ(matchLenExact(a.get(), b.get()), expected(5));
    }
  }
}

// Random keys that hold a letter: the comparison is a total order on them. (Keys of
// punctuation alone are not transitive, which is why they are left out.) An insertion
// sort is well defined for any comparator; after it every pair must be in order.
TEST(CompareKeys, TotalOrderOverKeysWithALetter) {
  std::mt19937 random(20240611);
  const std::string alphabet = "aAbBzZ 019-+.'@\t";
  std::vector<std::string> keys;
  while (keys.size() < 300) {
    std::string word;
    for (size_t n = 1 + random() % 7; n > 0; --n) word += alphabet[random() % alphabet.size()];
    char key[kKeyBufferSize];
    if (makeSearchKey(word.c_str(), key) != 0 && std::any_of(key, key + std::strlen(key), isalpha))
      keys.push_back(key);
  }
  auto cmp = [](const std::string& a, const std::string& b) {
    return sign(compareKeys(a.c_str(), b.c_str()));
  };
  for (size_t i = 1; i < keys.size(); ++i) {
    for (size_t j = i; j > 0 && cmp(keys[j - 1], keys[j]) > 0; --j) std::swap(keys[j - 1], keys[j]);
  }
  for (size_t i = 0; i < keys.size(); ++i) {
    for (size_t j = i; j < keys.size(); ++j) {
      ASSERT_LE(cmp(keys[i], keys[j]), 0) << keys[i] << " | " << keys[j];
      ASSERT_EQ(cmp(keys[i], keys[j]), -cmp(keys[j], keys[i])) << keys[i] << " | " << keys[j];
    }
  }
}

// Codes 1 and 6 to 9 share the single-byte column; code 0 and codes of 10 and more
// answer as "no language": every key empty and equal to every other. The double-byte
// columns have tests of their own.
TEST(LangOpTable, EachCodeHasItsFamily) {
  const LanguageOps singleByte{makeSearchKey,       keyCharOffset,  compareKeys,  matchLenFolded,
                               matchLenSignificant, matchLenNoCase, matchLenExact};
  for (uint32_t code : {0u, 1u, 6u, 9u, 10u, 256u, 0xFFFFFFFFu}) {
    SCOPED_TRACE(code);
    const LanguageOps got{getMakeSearchKeyFn(code),       getKeyCharOffsetFn(code),
                          getCompareKeysFn(code),         getMatchLenFoldedFn(code),
                          getMatchLenSignificantFn(code), getMatchLenNoCaseFn(code),
                          getMatchLenExactFn(code)};
    const bool isSingleByte = code == 1 || (code >= 6 && code <= 9);
    EXPECT_EQ(std::memcmp(&got, &singleByte, sizeof got) == 0, isSingleByte);
    EXPECT_EQ(std::memcmp(&got, &languageOps(code), sizeof got), 0);
    if (isSingleByte) continue;
    char key[] = "xx";
    EXPECT_EQ(got.makeSearchKey("apple", key), 0);
    EXPECT_EQ(std::string(key, 2), std::string("\0x", 2)) << "the stub writes one byte only";
    EXPECT_EQ(got.keyCharOffset("apple", 2), 0u);
    EXPECT_EQ(got.compareKeys("apple", "pear"), 0);
    EXPECT_EQ(got.compareKeys(nullptr, "pear"), 0);
    for (MatchLenFn match :
         {got.matchLenFolded, got.matchLenSignificant, got.matchLenNoCase, got.matchLenExact}) {
      EXPECT_EQ(match("same", "same") + match("", ""), 0u) << "never equal throughout";
    }
  }
}

}  // namespace
}  // namespace orvia::lang::single_byte
