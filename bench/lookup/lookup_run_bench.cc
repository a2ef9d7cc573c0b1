// The tool's lookup on GCIDE: finding and walking the eight entries spelled "Bank" (its
// homographs and case variants share one key) against a word of one entry, without
// content, and whole lookups with every entry's text made readable.
#include <benchmark/benchmark.h>

#include <string>

#include "dict/gcide_fixture.h"
#include "open_dictionary.h"
#include "support/ratio_reporter.h"
#include "terminal_text.h"
#include "word_run.h"

namespace orvia::bench {
namespace {

using orviadic::OpenDictionary;

constexpr const char* kRunOfEight = "Bank";
// Words of one entry in GCIDE; the first found so is measured.
constexpr const char* kSingleCandidates[] = {"Dictionary", "Zebra", "Quixotic", "Lexicon"};

OpenDictionary* dictionary() {
  static OpenDictionary* dict = gcide() == nullptr ? nullptr : new OpenDictionary(kGcideId);
  return dict;
}

const std::string& singleWord() {
  static const std::string word = [] {
    for (const char* candidate : kSingleCandidates)
      if (orviadic::findRun(*dictionary(), candidate).entries.size() == 1) return candidate;
    return "";
  }();
  return word;
}

bool ready(benchmark::State& state, const std::string& word, size_t entries) {
  if (dictionary() == nullptr) {
    state.SkipWithError("the dict-gcide package is not installed");
    return false;
  }
  if (word.empty() || orviadic::findRun(*dictionary(), word).entries.size() != entries) {
    state.SkipWithError("GCIDE does not hold the run this benchmark walks");
    return false;
  }
  return true;
}

void findRun(benchmark::State& state, const std::string& word, size_t entries) {
  if (!ready(state, word, entries)) return;
  for (auto _ : state) benchmark::DoNotOptimize(orviadic::findRun(*dictionary(), word));
}

// What lookup does for each entry: the record again, its content, readable UTF-8.
void wholeLookup(benchmark::State& state, const std::string& word, size_t entries) {
  if (!ready(state, word, entries)) return;
  for (auto _ : state) {
    for (const orviadic::RunEntry& e : orviadic::findRun(*dictionary(), word).entries) {
      orviadic::WordHandle handle(dicSearchRecord(dictionary()->get(), e.record), dicFreeHWORD);
      std::string content;
      orviadic::readContent(handle.get(), kGcideId, &content);
      benchmark::DoNotOptimize(orviadic::readableEntry(kGcideId, content, false));
    }
  }
}

void BM_FindRunOfEight(benchmark::State& state) {
  findRun(state, kRunOfEight, 8);
}
void BM_FindRunOfOne(benchmark::State& state) {
  findRun(state, singleWord(), 1);
}
void BM_WholeLookupOfEight(benchmark::State& state) {
  wholeLookup(state, kRunOfEight, 8);
}
void BM_WholeLookupOfOne(benchmark::State& state) {
  wholeLookup(state, singleWord(), 1);
}

BENCHMARK(BM_FindRunOfEight);
BENCHMARK(BM_FindRunOfOne);
BENCHMARK(BM_WholeLookupOfEight);
BENCHMARK(BM_WholeLookupOfOne);

}  // namespace
}  // namespace orvia::bench

int main(int argc, char** argv) {
  orvia::bench::RatioReporter reporter;
  reporter.costAtMost("BM_FindRunOfEight", "BM_FindRunOfOne", 2);
  return orvia::bench::runWithRatios(argc, argv, reporter);
}
