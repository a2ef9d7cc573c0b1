// What the collation benchmarks share: the single-byte baseline keys (GCIDE's headwords
// when dict-gcide is installed, else generated words) of 8 to 40 bytes, sorting by a
// collation, and the measured loop, which compares each key with its neighbour in its own
// key order, as the store's searches and sorts do.
#pragma once

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "lang/lang_ops.h"
#include "lang/single_byte.h"

namespace orvia::bench {

inline constexpr size_t kKeyCount = 20000;

inline bool usableLength(size_t n) {
  return n >= 8 && n <= 40;
}

// A merge sort: a quicksort may step outside the range under a collation that is not
// transitive, as the Japanese one is not in a corner.
template <lang::CompareKeysFn Compare>
std::vector<std::string> sorted(std::vector<std::string> keys) {
  std::stable_sort(keys.begin(), keys.end(), [](const std::string& a, const std::string& b) {
    return Compare(a.c_str(), b.c_str()) < 0;
  });
  return keys;
}

inline std::vector<std::string> englishKeys() {
  std::vector<std::string> keys;
  std::ifstream index("/usr/share/dictd/gcide.index");
  std::mt19937 random(7);
  char key[lang::kKeyBufferSize];
  for (std::string line; keys.size() < kKeyCount;) {
    std::string word;
    if (std::getline(index, line)) {
      word = line.substr(0, line.find('\t'));
    } else {
      for (size_t n = 8 + random() % 33; n > 0; --n) word += char('a' + random() % 6);
    }
    if (lang::single_byte::makeSearchKey(word.c_str(), key) != 0 && usableLength(std::strlen(key)))
      keys.push_back(key);
  }
  return keys;
}

// The baseline keys in their collation's order, made once per process.
inline const std::vector<std::string>& english() {
  static const auto keys = sorted<lang::single_byte::compareKeys>(englishKeys());
  return keys;
}

template <lang::CompareKeysFn Compare>
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

}  // namespace orvia::bench
