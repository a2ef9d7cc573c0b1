// The Japanese collation against the single-byte one on keys of the same byte lengths
// (8 to 40). Japanese keys: FreeDict's Japanese-English headwords converted to Shift-JIS
// when dict-freedict-jpn-eng is installed, else generated words of kana, long-vowel marks
// and kanji. Bar: Japanese at most 4x single-byte.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "compare_bench_keys.h"
#include "lang/japanese.h"
#include "support/ratio_reporter.h"
#include "text/code_page.h"

namespace {

using namespace orvia::lang;
using orvia::bench::compareNeighbours;
using orvia::bench::english;
using orvia::bench::sorted;
using orvia::bench::usableLength;

// Headwords of the installed dictionary that make usable keys of 8 to 40 bytes.
std::vector<std::string> freeDictKeys() {
  std::vector<std::string> keys;
  std::ifstream index("/usr/share/dictd/freedict-jpn-eng.index");
  orvia::text::CodePageConverter toShiftJis(orvia::text::codePageName(4));
  char key[kKeyBufferSize];
  std::string converted;
  for (std::string line; std::getline(index, line);) {
    const std::string word = line.substr(0, line.find('\t'));
    if (word.rfind("00database", 0) == 0 || !toShiftJis.convert(word, &converted)) continue;
    if (japanese::makeSearchKey(converted.c_str(), key) != 0 && usableLength(std::strlen(key)))
      keys.push_back(key);
  }
  return keys;
}

// Words as a dictionary holds them: katakana loan words with long-vowel marks, hiragana
// words, kanji compounds with kana endings; an odd length ends in an ASCII digit.
std::vector<std::string> generatedKeys() {
  std::mt19937 random(13);
  std::vector<std::string> keys;
  for (size_t n = 0; n < orvia::bench::kKeyCount; ++n) {
    const size_t length = 8 + random() % 33;
    std::string key;
    const int style = random() % 3;
    while (key.size() + 2 <= length) {
      if (style == 0 && !key.empty() && random() % 4 == 0) {
        key += "\x81\x5B";
      } else if (style == 0) {
        key += {'\x83', char(0x40 + random() % 0x3F)};
      } else if (style == 2 && key.size() < length / 2) {
        key += {char(0x88 + random() % 8), char(0x9F + random() % 0x5E)};
      } else {
        key += {'\x82', char(0x9F + random() % 0x53)};
      }
    }
    if (key.size() < length) key += char('0' + random() % 10);
    keys.push_back(key);
  }
  return keys;
}

struct KeySet {
  std::vector<std::string> keys;
  const char* source;
};

// For each baseline key, a Japanese key of its byte length (or the nearest length held).
KeySet japaneseKeys(const std::vector<std::string>& english) {
  std::vector<std::string> pool = freeDictKeys();
  const char* source = "FreeDict headwords";
  if (pool.size() < orvia::bench::kKeyCount) {
    pool = generatedKeys();
    source = "generated words";
  }
  std::map<size_t, std::vector<std::string>> byLength;
  std::mt19937 random(17);
  std::shuffle(pool.begin(), pool.end(), random);
  for (std::string& key : pool) byLength[key.size()].push_back(std::move(key));
  std::map<size_t, size_t> taken;
  std::vector<std::string> keys;
  for (const std::string& e : english) {
    auto bucket = byLength.lower_bound(e.size());
    if (bucket == byLength.end()) --bucket;
    keys.push_back(bucket->second[taken[bucket->first]++ % bucket->second.size()]);
  }
  return {sorted<japanese::compareKeys>(std::move(keys)), source};
}

void BM_SingleByteCompareKeys(benchmark::State& state) {
  compareNeighbours<single_byte::compareKeys>(state, english());
}
BENCHMARK(BM_SingleByteCompareKeys);

void BM_JapaneseCompareKeys(benchmark::State& state) {
  static const KeySet set = japaneseKeys(english());
  compareNeighbours<japanese::compareKeys>(state, set.keys);
  state.SetLabel(set.source);
}
BENCHMARK(BM_JapaneseCompareKeys);

}  // namespace

int main(int argc, char** argv) {
  orvia::bench::RatioReporter reporter;
  reporter.costAtMost("BM_JapaneseCompareKeys", "BM_SingleByteCompareKeys", 4.0);
  return orvia::bench::runWithRatios(argc, argv, reporter);
}
