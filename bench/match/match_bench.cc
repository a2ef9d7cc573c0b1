// The strategies that pass over every key, against reading every key once through the
// list windows (what `orviadic list --at 0 --count ALL` does), on FreeDict's German-English
// dictionary. Each pass may cost at most 3 times the reading.
#include <benchmark/benchmark.h>

#include "dict/gcide_fixture.h"
#include "match/key_windows.h"
#include "match/match_words.h"
#include "support/ratio_reporter.h"

namespace orvia::bench {
namespace {

using orviadic::match::Strategy;

HDICT* german(benchmark::State& state) {
  const GcideFixture* fixture = freeDictGerman();
  if (fixture == nullptr) state.SkipWithError("dict-freedict-deu-eng is not installed");
  return fixture != nullptr ? fixture->dict : nullptr;
}

void BM_ReadAllKeys(benchmark::State& state) {
  HDICT* dict = german(state);
  if (dict == nullptr) return;
  uint32_t keys = 0;
  for (auto _ : state) {
    orviadic::match::KeyWindows windows(dict, 0, orviadic::match::recordCount(dict));
    uint32_t record = 0;
    std::string_view key;
    keys = 0;
    size_t bytes = 0;
    while (windows.next(&record, &key)) {
      ++keys;
      bytes += key.size();
    }
    benchmark::DoNotOptimize(bytes);
  }
  state.counters["keys"] = keys;
}

void matchAll(benchmark::State& state, Strategy strategy, const char* word) {
  HDICT* dict = german(state);
  if (dict == nullptr) return;
  size_t words = 0;
  for (auto _ : state) {
    const orviadic::match::MatchResult result =
        orviadic::match::matchWords(dict, {strategy, word, true, 1000000});
    words = result.words.size();
  }
  state.counters["keys"] = orviadic::match::recordCount(dict);
  state.counters["words"] = double(words);
}

void BM_MatchLev(benchmark::State& state) {
  matchAll(state, Strategy::kLev, "hausaufgabe");
}
void BM_MatchSubstring(benchmark::State& state) {
  matchAll(state, Strategy::kSubstring, "aufgabe");
}
void BM_MatchRegexp(benchmark::State& state) {
  matchAll(state, Strategy::kRegexp, "^ver.*ung$");
}

BENCHMARK(BM_ReadAllKeys)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MatchLev)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MatchSubstring)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MatchRegexp)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace orvia::bench

int main(int argc, char** argv) {
  orvia::bench::RatioReporter reporter;
  reporter.costAtMost("BM_MatchLev", "BM_ReadAllKeys", 3);
  reporter.costAtMost("BM_MatchSubstring", "BM_ReadAllKeys", 3);
  reporter.costAtMost("BM_MatchRegexp", "BM_ReadAllKeys", 3);
  return orvia::bench::runWithRatios(argc, argv, reporter);
}
