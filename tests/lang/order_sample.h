// Order properties of a collation over a sample of keys: antisymmetry, which must hold,
// and transitivity, whose breaks are printed as findings with the keys' bytes rather than
// failed, since some collations are known not to be transitive in corners.
#pragma once

#include <gtest/gtest.h>

#include <bitset>
#include <cstdio>
#include <string>
#include <vector>

#include "lang/lang_ops.h"

namespace orvia::testing {

inline constexpr size_t kOrderSample = 2000;

inline std::string hexBytes(const std::string& s) {
  std::string out;
  char byte[4];
  for (unsigned char c : s) out += (std::snprintf(byte, sizeof byte, "%02x ", c), byte);
  return out;
}

// Fails the calling test at the first pair whose answers do not turn round. Every triple
// is checked for transitivity through bit sets of the pairs' answers; returns how many
// pairs (i, j) with i <= j have a k that breaks it, and prints the first few triples.
inline uint32_t checkOrderProperties(const std::vector<std::string>& sample,
                                     orvia::lang::CompareKeysFn compare, const char* label) {
  EXPECT_EQ(sample.size(), kOrderSample);
  std::vector<std::bitset<kOrderSample>> atMost(kOrderSample), below(kOrderSample);
  for (size_t i = 0; i < kOrderSample; ++i) {
    for (size_t j = 0; j < kOrderSample; ++j) {
      const int ij = compare(sample[i].c_str(), sample[j].c_str());
      atMost[i][j] = ij <= 0;
      below[i][j] = ij < 0;
    }
  }
  uint32_t findings = 0;
  for (size_t i = 0; i < kOrderSample; ++i) {
    for (size_t j = 0; j < kOrderSample; ++j) {
      if (below[i][j] != !atMost[j][i]) {
        ADD_FAILURE() << "not antisymmetric: " << hexBytes(sample[i]) << "| "
                      << hexBytes(sample[j]);
        return findings;
      }
      if (!atMost[i][j]) continue;
      // i <= j and j <= k must give i <= k, and i < k when i < j.
      const auto broken = atMost[j] & ~(below[i][j] ? below[i] : atMost[i]);
      if (broken.none() || ++findings > 3) continue;
      size_t k = 0;
      while (!broken[k]) ++k;
      std::printf("finding: %s not transitive: %s| %s| %s\n", label, hexBytes(sample[i]).c_str(),
                  hexBytes(sample[j]).c_str(), hexBytes(sample[k]).c_str());
    }
  }
  std::printf("%s: %u pairs break transitivity over %zu keys\n", label, findings, kOrderSample);
  return findings;
}

}  // namespace orvia::testing
