// The Chinese collation against the single-byte one on keys of the same byte lengths
// (8 to 40): GCIDE's headwords when dict-gcide is installed, else generated words, and
// GB2312 keys of the same lengths. Each key is compared with its neighbour in its own
// key order, as the store's searches and sorts do. Bar: Chinese at most 2x single-byte.
#include <benchmark/benchmark.h>

#include <random>
#include <string>
#include <vector>

#include "compare_bench_keys.h"
#include "lang/double_byte.h"
#include "support/ratio_reporter.h"

namespace {

using namespace orvia::lang;
using orvia::bench::compareNeighbours;
using orvia::bench::english;
using orvia::bench::sorted;

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
