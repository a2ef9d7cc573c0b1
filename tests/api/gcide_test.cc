// All of GCIDE compiled once, then read through the exports: the records stand in key
// order, every headword lands on its own record or its homograph run and each stored key
// on its record, every record's content is exactly one source entry's text as the
// compiler converts it (every source entry read back once, but for those the index left
// out), the data file grows past the 24-bit locator, and misspellings mostly land on the
// intended word.
#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <unordered_map>

#include "compile/content/entry_text.h"
#include "support/compiled_gcide.h"
#include "support/compiled_index_checks.h"

namespace orvia::testing {
namespace {

// Under the sanitizers only every few records are read.
#if defined(__SANITIZE_ADDRESS__)
constexpr uint32_t kReadEvery = 13;
#else
constexpr uint32_t kReadEvery = 1;
#endif

class Gcide : public CompiledGcide {
 protected:
  static void SetUpTestSuite() {
    if (!compileGcide(compile::EntryEncoding::kSmallest)) return;
    keys_ = compiledKeys(compiled_.index);
    const std::vector<uint8_t>& records = compiled_.index.records;
    dict::IndexRecordView view;
    for (uint32_t at = 0, locator = 0; at < records.size(); at += view.recordLength) {
      ASSERT_TRUE(
          dict::parseIndexRecord(records.data() + at, uint32_t(records.size() - at), &view));
      pastLocator_ |= view.extendedRef(&locator) && locator > dict::kExtendedLocator;
    }
  }

  static inline std::vector<std::string> keys_;
  static inline bool pastLocator_ = false;
};

TEST_F(Gcide, RecordsStandInOrderAndHeadwordsAndKeysLandOnThem) {
  expectOrderedAndFound(kGcide, keys_);
  size_t elsewhere = 0;
  for (uint32_t n = 0; n < keys_.size(); n += kReadEvery)
    if (landingRecord(dict_, keys_[n]) != n && ++elsewhere <= 5)
      ADD_FAILURE() << "the stored key " << keys_[n] << " leads elsewhere";
  EXPECT_EQ(elsewhere, 0u) << "of " << keys_.size() << " keys";
}

TEST_F(Gcide, EveryEntryReadsBackAsItsSourceText) {
  // How many source entries convert to each text, by the text's hash.
  std::unordered_map<size_t, uint32_t> expected;
  std::string problem, text;
  auto source = gcideSource()(&problem);
  ASSERT_NE(source, nullptr) << problem;
  text::CodePageConverter converter(text::codePageName(1));
  compile::SourceEntry entry;
  compile::ReadResult result;
  size_t entries = 0, apples = 0;
  for (; (result = source->next(&entry)) == compile::ReadResult::kEntry; ++entries) {
    ASSERT_FALSE(entry.text.empty()) << entry.headword;
    apples += entry.headword == "Apple" && entry.text.find("fruit") != std::string::npos;
    EXPECT_TRUE(compile::makeEntryText(entry.headword, entry.text, converter, &text));
    ++expected[std::hash<std::string>()(text)];
  }
  ASSERT_EQ(result, compile::ReadResult::kEnd) << source->problem();
  EXPECT_GT(entries, 200000u);
  EXPECT_EQ(apples, 1u);
  EXPECT_GT(compiled_.data.bytes, 16u << 20);
  EXPECT_TRUE(pastLocator_) << "no record lies past offset 0xFFFFFF";

  const uint32_t count = dicGetWordCount(dict_);
  ASSERT_EQ(count, compiled_.index.recordCount);
  uint32_t unmatched = 0, lost = 0;
  for (uint32_t n = 0; n < count; n += kReadEvery) {
    HWORD* word = dicSearchRecord(dict_, n);
    ASSERT_NE(word, nullptr) << "record " << n;
    const uint32_t size = dicGetContentSize(word, kGcide);
    text.assign(size_t(size) + 1, '\0');
    ASSERT_EQ(dicGetContent(word, kGcide, text.data(), size + 1), size) << "record " << n;
    dicFreeHWORD(word);
    text.resize(size);
    auto match = expected.find(std::hash<std::string>()(text));
    if (match != expected.end() && match->second > 0)
      --match->second;
    else if (++unmatched <= 5)
      ADD_FAILURE() << "record " << n << " reads back as " << text;
  }
  for (const auto& [hash, left] : expected) lost += left;
  EXPECT_EQ(unmatched, 0u);
  EXPECT_EQ(kReadEvery == 1 ? lost : 0, kReadEvery == 1 ? compiled_.index.skipped.size() : 0)
      << "entries never read back";
}

// Misspellings by one dropped, doubled or swapped letter: the share that lands on the
// intended word is reported.
TEST_F(Gcide, ReportsTheShareOfMisspellingsLandingOnTheIntendedWord) {
  std::mt19937 rng(1000);
  int tried = 0, intended = 0;
  while (tried < 1000) {
    const std::string bare = bareKey(keys_[rng() % keys_.size()], 1);
    if (bare.size() < 4 ||
        bare.find_first_not_of("abcdefghijklmnopqrstuvwxyz") != std::string::npos)
      continue;
    std::string word = bare;
    const size_t at = 1 + rng() % (word.size() - 2);
    if (tried % 3 == 0) word.erase(at, 1);
    if (tried % 3 == 1) word.insert(at, 1, word[at]);
    if (tried % 3 == 2) std::swap(word[at], word[at + 1]);
    ++tried;
    const uint32_t landed = landingRecord(dict_, word);
    if (landed != 0xFFFFFFFF && bareKey(keys_[landed], 1) == bare) ++intended;
  }
  std::printf("%d of %d misspellings land on the intended word\n", intended, tried);
  EXPECT_GT(intended, 0);
}

}  // namespace
}  // namespace orvia::testing
