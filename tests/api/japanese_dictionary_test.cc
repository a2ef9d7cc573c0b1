// Japanese dictionaries compiled and read through the exports. FreeDict's Japanese-English
// dictionary, compiled once with Shift-JIS keys and English texts: the records stand in
// key order, every headword lands on its own record or its homograph run, words typed
// with kana folded land on the intended entry, and the entries Shift-JIS cannot hold are
// counted. Then a word list holding keys that the comparison orders in a circle: what the
// compiler writes stays findable and in order.
#include <unistd.h>

#include <gtest/gtest.h>

#include <random>
#include <set>

#include "compile/source/dictd_source.h"
#include "support/compiled_index_checks.h"
#include "support/dictionary_fixtures.h"
#include "support/japanese_operations.h"

namespace orvia::testing {
namespace {

constexpr uint32_t kFreeDict = 0x00020104;  // Shift-JIS keys, English texts, dictionary 2
constexpr uint32_t kJapanese = 4;
const char kFreeDictBase[] = "/usr/share/dictd/freedict-jpn-eng";

// UTF-8 as code points, through iconv.
std::u32string codePoints(const std::string& utf8) {
  std::string bytes;
  text::CodePageConverter("UTF-32LE").convert(utf8, &bytes);
  std::u32string out(bytes.size() / 4, U'\0');
  for (size_t i = 0; i < out.size(); ++i)
    out[i] = char32_t(uint8_t(bytes[4 * i]) | uint8_t(bytes[4 * i + 1]) << 8 |
                      uint8_t(bytes[4 * i + 2]) << 16);
  return out;
}
// The code points here are of the Basic Multilingual Plane.
std::string utf8Of(const std::u32string& text) {
  std::string out;
  for (char32_t c : text) {
    if (c < 0x80) out += char(c);
    if (c >= 0x80 && c < 0x800) out += {char(0xC0 | c >> 6), char(0x80 | (c & 0x3F))};
    if (c >= 0x800)
      out += {char(0xE0 | c >> 12), char(0x80 | (c >> 6 & 0x3F)), char(0x80 | (c & 0x3F))};
  }
  return out;
}

// How a Japanese reader writes a long vowel out: the vowel of each hiragana's row.
char32_t vowelOf(char32_t hiragana) {
  static const std::u32string kRows[] = {
      U"ぁあかがさざただなはばぱまゃやらゎわ", U"ぃいきぎしじちぢにひびぴみり",
      U"ぅうくぐすずっつづぬふぶぷむゅゆる", U"ぇえけげせぜてでねへべぺめれ",
      U"ぉおこごそぞとどのほぼぽもょよろを"};
  static const char32_t kVowels[] = U"あいうえお";
  for (int row = 0; row < 5; ++row)
    if (kRows[row].find(hiragana) != std::u32string::npos) return kVowels[row];
  return 0;
}

// The word as a reader might type it with the kana folded: katakana in hiragana and each
// long-vowel mark after a kana spelled as its vowel; a word without katakana or marks
// has a vowel written after a kana of its row turned into the mark. Empty when neither
// applies.
std::u32string foldedVariant(std::u32string word) {
  bool changed = false;
  for (size_t i = 0; i < word.size(); ++i) {
    if (word[i] >= U'ァ' && word[i] <= U'ン') {  // katakana
      word[i] -= 0x60;
      changed = true;
    }
    if (word[i] == U'ー' && i > 0 && vowelOf(word[i - 1]) != 0) {
      word[i] = vowelOf(word[i - 1]);
      changed = true;
    }
  }
  if (changed) return word;
  for (size_t i = 1; i < word.size(); ++i) {
    if (word[i - 1] >= U'ぁ' && word[i - 1] <= U'ん' && vowelOf(word[i - 1]) == word[i] &&
        vowelOf(word[i]) != 0) {
      word[i] = U'ー';
      return word;
    }
  }
  return {};
}

class FreeDictJapanese : public ExportsFixture {
 protected:
  static void SetUpTestSuite() {
    if (access((std::string(kFreeDictBase) + ".index").c_str(), R_OK) != 0 ||
        !japaneseOperationsBuilt())
      return;
    folder_ = new TempDir();
    auto open = [](compile::WithText withText,
                   std::string* problem) -> std::unique_ptr<compile::EntrySource> {
      auto source = std::make_unique<compile::DictdSource>();
      if (source->open(kFreeDictBase, withText, compile::DictdSource::Order::kBody)) return source;
      *problem = source->problem();
      return nullptr;
    };
    compiled_ = compileSource(open, kFreeDict, folder_->path(), compile::EntryEncoding::kSmallest);
    keys_ = compiledKeys(compiled_.index);
  }
  static void TearDownTestSuite() { delete folder_; }

  void SetUp() override {
    if (folder_ == nullptr)
      GTEST_SKIP() << "needs dict-freedict-jpn-eng and the Japanese key operations";
    ExportsFixture::SetUp();
    writeDictKey("\"PATH\"=\"" + folder_->path() + "\"\r\n");
    dict_ = dicCreateHDICT(kFreeDict);
    ASSERT_NE(dict_, nullptr);
  }
  void TearDown() override {
    if (dict_ != nullptr) dicFreeHDICT(dict_);
    if (folder_ != nullptr) ExportsFixture::TearDown();
  }

  static inline TempDir* folder_ = nullptr;
  static inline compile::CompiledDictionary compiled_;
  static inline std::vector<std::string> keys_;
  HDICT* dict_ = nullptr;
};

TEST_F(FreeDictJapanese, RecordsStandInOrderAndEveryHeadwordLands) {
  std::printf("%u records; skipped (not-in-code-page: Shift-JIS cannot hold them):",
              compiled_.index.recordCount);
  for (const auto& [reason, count] : skippedByReason(compiled_.index))
    std::printf(" %s %zu", reason.c_str(), count);
  std::printf("\n");
  EXPECT_GT(compiled_.index.recordCount, 300000u);
  expectOrderedAndFound(kFreeDict, keys_);
}

TEST_F(FreeDictJapanese, ReportsTheShareOfKanaFoldedWordsLandingOnTheIntendedEntry) {
  text::CodePageConverter toShiftJis(text::codePageName(kJapanese));
  std::mt19937 random(2024);
  int tried = 0, intended = 0, asTyped = 0;
  for (int draws = 0; tried < 200 && draws < 1000000; ++draws) {
    const size_t n = random() % keys_.size();
    const std::string bare = bareKey(keys_[n], kJapanese);
    const std::u32string variant = foldedVariant(codePoints(shown(bare, kJapanese)));
    std::string word;
    if (variant.empty() || !toShiftJis.convert(utf8Of(variant), &word)) continue;
    ++tried;
    const uint32_t landed = landingRecord(dict_, word);
    const std::string found = landed < keys_.size() ? bareKey(keys_[landed], kJapanese) : "";
    if (found == bare) {
      ++intended;
    } else if (found == word) {
      ++asTyped;  // the folded spelling is an entry of its own
    } else if (tried - intended - asTyped <= 10) {
      std::printf("  %s typed as %s lands on %s\n", shown(bare, kJapanese).c_str(),
                  utf8Of(variant).c_str(),
                  found.empty() ? "nothing" : shown(found, kJapanese).c_str());
    }
  }
  std::printf(
      "of %d kana-folded words %d land on the intended entry, %d on an entry spelt as typed\n",
      tried, intended, asTyped);
  EXPECT_EQ(tried, 200);
  EXPECT_GT(intended, 0);
}

// -か < かー < か-ー < -か: one bound and one free long-vowel mark. Whatever the compiler
// keeps of such keys stands in order with its neighbours and is found again.
using JapaneseCycle = ExportsFixture;

TEST_F(JapaneseCycle, WhatTheCompilerKeepsIsInOrderAndFound) {
  if (!japaneseOperationsBuilt()) GTEST_SKIP() << "needs the Japanese key operations";
  const compile::CompiledDictionary compiled =
      compileWordList("japanese_cycle.tsv", 0x00010304, dir_.path());
  // The three keys of the cycle (2D 82 A9 < 82 A9 81 5B < 82 A9 2D 81 5B < 2D 82 A9) are
  // named as out of order.
  std::set<std::string> outOfOrder;
  for (const compile::SkippedEntry& s : compiled.index.skipped) {
    std::printf("skipped: %s (%s)\n", s.headword.c_str(), compile::skipReasonName(s.reason));
    if (s.reason == compile::SkipReason::kOutOfOrder) outOfOrder.insert(s.headword);
  }
  EXPECT_EQ(outOfOrder, (std::set<std::string>{"-か", "かー", "か-ー"}));
  expectOrderedAndFound(0x00010304, compiledKeys(compiled.index));
}

}  // namespace
}  // namespace orvia::testing
