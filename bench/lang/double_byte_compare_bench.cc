// The Chinese collation against the single-byte one on keys of the same byte lengths
// (8 to 40): GCIDE's headwords when dict-gcide is installed, else generated words, and
// GB2312 keys of the same lengths. Each key is compared with its neighbour in its own
// key order, as the store's searches and sorts do. Bar: Chinese at most 2x single-byte.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "lang/double_byte.h"
#include "lang/single_byte.h"
#include "support/ratio_reporter.h"

namespace {

using namespace orvia::lang;

constexpr char kIndexFile[] = "/usr/share/dictd/gcide.index";
constexpr size_t kKeyCount = 20000;

bool usableLength(size_t n) {
  return n >= 8 && n <= 40;
}

std::vector<std::string> englishKeys() {
  std::vector<std::string> keys;
  std::ifstream index(kIndexFile);
  std::mt19937 random(7);
  char key[kKeyBufferSize];
  for (std::string line; keys.size() < kKeyCount;) {
    std::string word;
    if (std::getline(index, line)) {
      word = line.substr(0, line.find('\t'));
    } else {
      for (size_t n = 8 + random() % 33; n > 0; --n) word += char('a' + random() % 6);
    }
    if (single_byte::makeSearchKey(word.c_str(), key) != 0 && usableLength(std::strlen(key)))
      keys.push_back(key);
  }
  return keys;
}

// A GB2312 key of each English key's length, from 32 characters so that neighbours share
// prefixes; an odd length ends in an ASCII digit.
std::vector<std::string> chineseKeys(const std::vector<std::string>& english) {
  std::mt19937 random(11);
  std::vector<std::string> keys;
  for (const std::string& e : english) {
    std::string key;
    while (key.size() + 2 <= e.size()) {
      key += char(0xB0 + random() % 4);
      key += char(0xA1 + random() % 8);
    }
    if (key.size() < e.size()) key += char('0' + random() % 10);
    keys.push_back(key);
  }
  return keys;
}

template <CompareKeysFn Compare>
std::vector<std::string> sorted(std::vector<std::string> keys) {
  std::sort(keys.begin(), keys.end(), [](const std::string& a, const std::string& b) {
    return Compare(a.c_str(), b.c_str()) < 0;
  });
  return keys;
}

template <CompareKeysFn Compare>
void compareNeighbours(benchmark::State& state, const std::vector<std::string>& keys) {
  size_t bytes = 0;
  for (const std::string& k : keys) bytes += k.size();
  for (auto _ : state) {
    int sum = 0;
    for (size_t i = 1; i < keys.size(); ++i) sum += Compare(keys[i - 1].c_str(), keys[i].c_str());
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(int64_t(state.iterations() * (keys.size() - 1)));
  state.SetBytesProcessed(int64_t(state.iterations() * bytes));
}

const std::vector<std::string>& english() {
  static const auto keys = sorted<single_byte::compareKeys>(englishKeys());
  return keys;
}

void BM_SingleByteCompareKeys(benchmark::State& state) {
  compareNeighbours<single_byte::compareKeys>(state, english());
}
BENCHMARK(BM_SingleByteCompareKeys);

void BM_ChineseCompareKeys(benchmark::State& state) {
  static const auto keys = sorted<double_byte::compareKeysChinese>(chineseKeys(english()));
  compareNeighbours<double_byte::compareKeysChinese>(state, keys);
}
BENCHMARK(BM_ChineseCompareKeys);

}  // namespace

int main(int argc, char** argv) {
  orvia::bench::RatioReporter reporter;
  reporter.costAtMost("BM_ChineseCompareKeys", "BM_SingleByteCompareKeys", 2.0);
  return orvia::bench::runWithRatios(argc, argv, reporter);
}
