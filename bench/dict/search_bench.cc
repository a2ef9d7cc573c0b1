// The nearest-word search and word-list windows against the store operations they are
// built on, on GCIDE's index, on FreeDict's Japanese one and on synthetic indexes of
// 20,000 and 2,000,000 records.
#include <benchmark/benchmark.h>

#include <random>
#include <string>
#include <vector>

#include "gcide_fixture.h"
#include "lang/lang_ops.h"
#include "orviadb.h"
#include "support/ratio_reporter.h"

namespace orvia::bench {
namespace {

constexpr size_t kSampleSize = 4096;

std::string bareKey(const std::string& searchKey) {
  size_t at = searchKey.rfind('@');
  return at == std::string::npos ? searchKey : searchKey.substr(0, at);
}

// Existing headwords, and misspellings of them made by deleting, doubling or swapping a letter.
struct Samples {
  std::vector<std::string> existing, misspelt, keys;
};

// Single-byte keys lose their homograph number; in Shift-JIS an "@" byte may be half of a
// character, so those keys are searched whole.
Samples samplesOf(const GcideFixture* fixture, bool singleByte) {
  Samples out;
  if (fixture == nullptr) return out;
  std::mt19937 rng(42);
  const auto& keys = fixture->searchKeys;
  while (out.existing.size() < kSampleSize) {
    const std::string& key = keys[rng() % keys.size()];
    std::string word = singleByte ? bareKey(key) : key;
    if (word.size() < 4) continue;
    out.keys.push_back(key);
    out.existing.push_back(word);
    size_t at = 1 + rng() % (word.size() - 2);
    if (out.misspelt.size() % 3 == 0)
      word.erase(at, 1);
    else if (out.misspelt.size() % 3 == 1)
      word.insert(at, 1, word[at]);
    else
      std::swap(word[at], word[at + 1]);
    out.misspelt.push_back(word);
  }
  return out;
}

const Samples& samples() {
  static const Samples s = samplesOf(gcide(), true);
  return s;
}
// Only existing words are searched in Japanese: a byte edited in a double-byte word would
// often leave no character.
const Samples& japaneseSamples() {
  static const Samples s = samplesOf(freeDictJapanese(), false);
  return s;
}

void searchWords(benchmark::State& state, const GcideFixture* fixture,
                 const std::vector<std::string>& words) {
  if (fixture == nullptr) return state.SkipWithError("the dictionary's package is not installed");
  size_t i = 0;
  for (auto _ : state) {
    HWORD* word = dicSearchWord(fixture->dict, words[i++ % words.size()].c_str());
    benchmark::DoNotOptimize(word);
    dicFreeHWORD(word);
  }
  state.SetItemsProcessed(int64_t(state.iterations()));
}

// What a search is built on: the store's seek to the word's key and one record read.
void seekAndGetRecord(benchmark::State& state, const GcideFixture* fixture, uint32_t language,
                      const std::vector<std::string>& sampleKeys) {
  if (fixture == nullptr) return state.SkipWithError("the dictionary's package is not installed");
  DBHANDLE db = dbOpen(fixture->indexPath.c_str(), lang::getCompareKeysFn(language));
  std::vector<std::string> keys;
  for (const auto& k : sampleKeys) keys.push_back(k + std::string(3, '\0'));
  uint8_t record[kDbMaxRecordSize];
  size_t i = 0;
  for (auto _ : state) {
    uint32_t size = sizeof record;
    dbSeek(db, keys[i++ % keys.size()].data());
    benchmark::DoNotOptimize(dbGetRecord(db, &size, record));
  }
  state.SetItemsProcessed(int64_t(state.iterations()));
  dbClose(db);
}

void BM_SeekAndGetRecord(benchmark::State& state) {
  seekAndGetRecord(state, gcide(), 1, samples().keys);
}
void BM_SearchExistingWord(benchmark::State& state) {
  searchWords(state, gcide(), samples().existing);
}
void BM_SearchMisspeltWord(benchmark::State& state) {
  searchWords(state, gcide(), samples().misspelt);
}
void BM_SeekAndGetRecordJapanese(benchmark::State& state) {
  seekAndGetRecord(state, freeDictJapanese(), 4, japaneseSamples().keys);
}
void BM_SearchExistingWordJapanese(benchmark::State& state) {
  searchWords(state, freeDictJapanese(), japaneseSamples().existing);
}

// One 100-entry window of the word list at a random place.
void wordListWindows(benchmark::State& state, HDICT* dict) {
  if (dict == nullptr) return state.SkipWithError("no dictionary");
  uint32_t count = dicGetWordCount(dict);
  std::mt19937 rng(7);
  std::vector<char> buffer(64 * 1024);
  for (auto _ : state) {
    uint32_t entries = 0;
    dicGetWordList(dict, rng() % (count - 100), 100, buffer.data(), uint32_t(buffer.size()),
                   &entries);
    benchmark::DoNotOptimize(entries);
  }
}

void BM_WordListWindowGcide(benchmark::State& state) {
  wordListWindows(state, gcide() != nullptr ? gcide()->dict : nullptr);
}

// What the window is built on: going to the place, then 100 records read one by one.
void BM_HundredNextAndGetRecord(benchmark::State& state) {
  if (gcide() == nullptr) return state.SkipWithError("dict-gcide is not installed");
  DBHANDLE db = dbOpen(gcide()->indexPath.c_str(), lang::getCompareKeysFn(1));
  uint32_t count = 0;
  dbGetInfo(db, kDbInfoRecordCount, &count);
  std::mt19937 rng(7);
  uint8_t record[kDbMaxRecordSize];
  for (auto _ : state) {
    dbGoto(db, rng() % (count - 100));
    for (int i = 0; i < 100; ++i) {
      uint32_t size = sizeof record;
      benchmark::DoNotOptimize(dbGetRecord(db, &size, record));
      dbNext(db);
    }
  }
  dbClose(db);
}

void BM_WordListWindow20k(benchmark::State& state) {
  wordListWindows(state, syntheticDictionary(20000));
}
void BM_WordListWindow2M(benchmark::State& state) {
  wordListWindows(state, syntheticDictionary(2000000));
}

BENCHMARK(BM_SeekAndGetRecord);
BENCHMARK(BM_SearchExistingWord);
BENCHMARK(BM_SearchMisspeltWord);
BENCHMARK(BM_SeekAndGetRecordJapanese);
BENCHMARK(BM_SearchExistingWordJapanese);
BENCHMARK(BM_HundredNextAndGetRecord);
BENCHMARK(BM_WordListWindowGcide);
BENCHMARK(BM_WordListWindow20k);
BENCHMARK(BM_WordListWindow2M);

}  // namespace
}  // namespace orvia::bench

int main(int argc, char** argv) {
  orvia::bench::RatioReporter reporter;
  reporter.costAtMost("BM_SearchExistingWord", "BM_SeekAndGetRecord", 3);
  reporter.costAtMost("BM_SearchMisspeltWord", "BM_SeekAndGetRecord", 8);
  reporter.costAtMost("BM_SearchExistingWordJapanese", "BM_SeekAndGetRecordJapanese", 3);
  reporter.costAtMost("BM_WordListWindowGcide", "BM_HundredNextAndGetRecord", 2);
  reporter.costAtMost("BM_WordListWindowGcide", "BM_SearchExistingWord", 50);
  reporter.costAtMost("BM_WordListWindow2M", "BM_WordListWindow20k", 2);
  return orvia::bench::runWithRatios(argc, argv, reporter);
}
