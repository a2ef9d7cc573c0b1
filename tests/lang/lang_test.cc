// The seven key operations of every language code over the case tables in tests/data/lang/.
// Each row names the codes it holds for; each string is placed against a guard page, once
// right after a kana and once right after a lead byte that makes a kana with a half-width
// first byte, so that an operation looking before the start would find a kana behind a
// long-vowel mark at offset 0 or 1 and bind it.
#include <gtest/gtest.h>

#include <sstream>

#include "lang/japanese_chars.h"
#include "lang/lang_ops.h"
#include "lang/text_at_page_end.h"
#include "support/case_table.h"

namespace orvia::lang {
namespace {

using testing::CaseRow;
using testing::caseTable;

int sign(int v) {
  return (v > 0) - (v < 0);
}

// Calls check(row, operations, bytes before) for every row of the table, every code of its
// first field and both bytes before; the operations come through the selectors.
template <class Check>
void forEachRow(const std::string& table, Check check) {
  for (const CaseRow& c : caseTable("lang/" + table)) {
    SCOPED_TRACE(c.line);
    std::istringstream codes(c.fields.at(0));
    for (std::string field; codes >> field;) {
      const uint32_t code = uint32_t(std::stoul(field, nullptr, 0));
      const LanguageOps ops{getMakeSearchKeyFn(code),       getKeyCharOffsetFn(code),
                            getCompareKeysFn(code),         getMatchLenFoldedFn(code),
                            getMatchLenSignificantFn(code), getMatchLenNoCaseFn(code),
                            getMatchLenExactFn(code)};
      for (const std::string before : {"\x82\xA9", "\x82"}) check(c, ops, before);
    }
  }
}

TEST(LangTable, MakeSearchKeyWritesTheKeyAndNothingMore) {
  testing::TextAtPageEnd word, buffer;
  forEachRow("make_search_key.txt",
             [&](const CaseRow& c, const LanguageOps& ops, const std::string& before) {
               const std::string written = *c.bytes(3);
               char* key = buffer.fill(kKeyBufferSize, '\x55');
               EXPECT_EQ(ops.makeSearchKey(word.place(c.bytes(2), before), key), c.number(4));
               EXPECT_EQ(std::string(key, written.size()), written);
               EXPECT_EQ(key[written.size()], '\x55') << "wrote past the key";
               EXPECT_EQ(ops.makeSearchKey(word.place(c.bytes(2), before), nullptr), 0);
             });
}

TEST(LangTable, KeyCharOffset) {
  testing::TextAtPageEnd key;
  forEachRow("key_char_offset.txt", [&](const CaseRow& c, const LanguageOps& ops,
                                        const std::string& before) {
    EXPECT_EQ(ops.keyCharOffset(key.place(c.bytes(1), before), uint32_t(c.number(2))), c.number(3));
  });
}

TEST(LangTable, CompareKeysBothWaysRound) {
  testing::TextAtPageEnd a, b;
  forEachRow("compare_keys.txt",
             [&](const CaseRow& c, const LanguageOps& ops, const std::string& before) {
               const char* pa = a.place(c.bytes(2), before);
               const char* pb = b.place(c.bytes(3), before);
               EXPECT_EQ(sign(ops.compareKeys(pa, pb)), c.number(4));
               EXPECT_EQ(sign(ops.compareKeys(pb, pa)), -c.number(4));
             });
}

TEST(LangTable, MatchLengthsBothWaysRound) {
  testing::TextAtPageEnd a, b;
  forEachRow("match_lengths.txt", [&](const CaseRow& c, const LanguageOps& ops,
                                      const std::string& before) {
    auto expected = [&](size_t i) { return c.fields.at(i) == "all" ? kMatchAll : c.number(i); };
    for (bool swapped : {false, true}) {
      const char* pa = a.place(c.bytes(swapped ? 2 : 1), before);
      const char* pb = b.place(c.bytes(swapped ? 1 : 2), before);
      EXPECT_EQ(ops.matchLenFolded(pa, pb), expected(3));
      EXPECT_EQ(ops.matchLenSignificant(pa, pb), expected(4));
      EXPECT_EQ(ops.matchLenNoCase(pa, pb), expected(5));
      EXPECT_EQ(ops.matchLenExact(pa, pb), expected(6));
    }
  });
}

TEST(LangTable, KanaRowsPickedByHand) {
  for (const CaseRow& c : caseTable("lang/kana_table.txt")) {
    SCOPED_TRACE(c.line);
    const std::string kana = *c.bytes(1);
    const uint8_t lead = uint8_t(kana[0]), trail = uint8_t(kana[1]);
    ASSERT_TRUE(japanese::isKana(lead, trail));
    EXPECT_EQ(japanese::kanaPosition(lead, trail), c.number(2));
    EXPECT_EQ(japanese::kanaBase(lead, trail), c.number(3));
    EXPECT_EQ(japanese::kanaVowel(lead, trail), c.number(4));
  }
}

}  // namespace
}  // namespace orvia::lang
