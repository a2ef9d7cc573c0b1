// FreeDict's Japanese-English dictionary compiled with Shift-JIS keys and English texts
// and read through the exports: the entries Shift-JIS cannot hold are counted, the records
// stand in key order, every headword lands on its own record or its homograph run, and
// words typed with their kana folded land on the intended entry.
#include <gtest/gtest.h>

#include "compile/source/dictd_source.h"
#include "lang/japanese_chars.h"
#include "support/compiled_index_checks.h"
#include "support/dictionary_fixtures.h"

namespace orvia::testing {
namespace {

constexpr uint32_t kFreeDict = 0x00020104;  // Shift-JIS keys, English texts, dictionary 2
const char kFreeDictBase[] = "/usr/share/dictd/freedict-jpn-eng";  // in the test package set

// The word as a reader might type it with the kana folded: katakana as hiragana and each
// long-vowel mark after a kana as the vowel of its row; in a word with neither, the first
// vowel after a kana of its row as the mark. Empty when nothing applies.
std::string foldedVariant(const std::string& word) {
  using namespace lang::japanese;
  std::string folded = word, vowelAsMark;
  for (size_t i = 0; i + 1 < word.size(); i += size_t(charWidth(&word[i]))) {
    const uint8_t lead = uint8_t(word[i]), trail = uint8_t(word[i + 1]);
    const bool afterKana = i >= 2 && isKana(uint8_t(word[i - 2]), uint8_t(word[i - 1]));
    const int vowel = afterKana ? kanaVowel(uint8_t(word[i - 2]), uint8_t(word[i - 1])) + 1 : 0;
    if (lead == 0x83 && isKana(lead, trail) && kanaPosition(lead, trail) < 83)
      folded.replace(i, 2, {'\x82', char(0x9F + kanaPosition(lead, trail))});
    if (isLongVowelMark(lead, trail) && vowel > 1) folded.replace(i, 2, {'\x82', char(vowel)});
    if (vowelAsMark.empty() && lead == 0x82 && trail == vowel)
      vowelAsMark = std::string(word).replace(i, 2, "\x81\x5B");
  }
  return folded != word ? folded : vowelAsMark;
}

using FreeDictJapanese = ExportsFixture;

TEST_F(FreeDictJapanese, InOrderEveryHeadwordLandsAndFoldedKanaFindTheirEntries) {
  const compile::CompiledIndex index =
      compileFrom(
          sourceOpener<compile::DictdSource>(kFreeDictBase, compile::DictdSource::Order::kBody),
          kFreeDict, dir_.path(), compile::EntryEncoding::kSmallest)
          .index;
  std::printf("%u records; skipped (not-in-code-page: Shift-JIS cannot hold them):",
              index.recordCount);
  for (const auto& [reason, count] : skippedByReason(index))
    std::printf(" %s %zu", reason.c_str(), count);
  std::printf("\n");
  EXPECT_GT(index.recordCount, 300000u);
  const std::vector<std::string> keys = compiledKeys(index);
  expectOrderedAndFound(kFreeDict, keys);

  HDICT* dict = dicCreateHDICT(kFreeDict);
  ASSERT_NE(dict, nullptr);
  int tried = 0, intended = 0, asTyped = 0;  // of headwords spread over the whole index
  for (size_t n = 0; tried < 200 && n < keys.size(); n += keys.size() / 2000 + 1) {
    const std::string bare = bareKey(keys[n], 4);
    const std::string word = foldedVariant(bare);
    if (word.empty()) continue;
    ++tried;
    const uint32_t landed = landingRecord(dict, word);
    const std::string found = landed < keys.size() ? bareKey(keys[landed], 4) : "nothing";
    intended += found == bare;
    asTyped += found == word;  // the folded spelling is an entry of its own
  }
  dicFreeHDICT(dict);
  std::printf("of %d kana-folded words %d land on the intended entry, %d on one spelt as typed\n",
              tried, intended, asTyped);
  EXPECT_EQ(tried, 200);
  EXPECT_GT(intended, 0);
}

}  // namespace
}  // namespace orvia::testing
