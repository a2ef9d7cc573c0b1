// The table-driven Huffman decoder against a plain walk of the trees, bit by bit, with
// the decoder's failure rules, over random trees and bodies.
#include "content/huffman_decoder.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace orvia::content {
namespace {

using Tree = std::vector<uint16_t>;
using Bytes = std::vector<uint8_t>;

// The format's walk; out == nullptr counts. Returns the length, or 0 on failure.
uint32_t referenceWalk(const Tree (&trees)[3], const Bytes& body, uint8_t* out, uint32_t capacity) {
  size_t bit = 0;
  auto symbol = [&](int t, uint32_t* s) {
    for (size_t i = 0; i < trees[t].size();) {
      if (trees[t][i] >= 0x200) {
        *s = trees[t][i] - 0x200;
        return *s <= 0xFF;
      }
      if (bit >= body.size() * 8) return false;
      const bool one = (body[bit / 8] >> (7 - bit % 8)) & 1;
      ++bit;
      i = one ? i + 1 : trees[t][i];
    }
    return false;
  };
  uint32_t n = 0;
  auto append = [&](uint32_t b) {
    if (out != nullptr) out[n] = uint8_t(b);
    return ++n != capacity;
  };
  // A double-byte run after the switch symbol; true once it switches back.
  auto run = [&]() {
    for (uint32_t first, second;;) {
      const size_t before = bit;
      if (!symbol(1, &first)) return false;
      if (first == 0xFF) return true;
      if (!append(first) || !symbol(2, &second) || !append(second)) return false;
      if (bit == before) return false;  // leaves at both roots: a run that never ends
    }
  };
  bool armed = true, afterTilde = false;
  for (uint32_t s;;) {
    if (!symbol(0, &s)) return 0;
    if (s == 0xFF) {
      afterTilde = false;
      if (!run()) return 0;
    } else if (!append(s)) {
      return 0;
    } else if (afterTilde) {
      afterTilde = false;
      if (armed && s == '!') return out != nullptr ? (out[n] = 0, n) : n;
      armed = !armed && (s == 13 || s == 10);
    } else {
      afterTilde = s == '~';
      armed = armed || s == 13 || s == 10;
    }
  }
}

// Random trees over a small alphabet rich in '~', '!', CR, LF and the switch, some of
// them damaged (branches out of the tree, leaves that are not bytes), random bodies.
TEST(HuffmanDecoderTest, TableDrivenMatchesBitByBitWalk) {
  std::mt19937 rng(7);
  const uint16_t alphabet[] = {'a', '~', '!', 13, 10, 0xFF, 0xB0, 'z'};
  auto randomTree = [&](size_t size) {
    Tree t(size);
    for (auto& e : t) {
      uint32_t r = rng() % 100;
      e = r < 45 ? uint16_t(rng() % (size + (r < 2 ? 5 : 0)))
                 : uint16_t(0x200 + alphabet[rng() % 8] + (r == 99 ? 0x100 : 0));
    }
    return t;
  };
  uint32_t agreedTexts = 0;
  for (int round = 0; round < 20000; ++round) {
    const Tree trees[3] = {randomTree(3 + rng() % 40), randomTree(1 + rng() % 12),
                           randomTree(1 + rng() % 12)};
    Bytes treeBytes[3];
    HuffmanTrees view;
    for (int t = 0; t < 3; ++t) {
      for (uint16_t e : trees[t])
        treeBytes[t].insert(treeBytes[t].end(), {uint8_t(e), uint8_t(e >> 8)});
      view.tree[t] = treeBytes[t].data();
      view.size[t] = uint32_t(treeBytes[t].size());
    }
    HuffmanDecoder decoder;
    if (!decoder.load(view)) continue;
    Bytes body(rng() % 24);
    for (auto& b : body) b = uint8_t(rng());
    const uint32_t capacity = 1 + rng() % 40;
    uint8_t expected[64], actual[64];
    const uint32_t want = referenceWalk(trees, body, expected, capacity);
    ASSERT_EQ(decoder.decode(body.data(), uint32_t(body.size()), actual, capacity), want)
        << "round " << round;
    if (want != 0) {
      ASSERT_EQ(std::string(actual, actual + want + 1), std::string(expected, expected + want + 1));
      ++agreedTexts;
    }
    ASSERT_EQ(decoder.textSize(body.data(), uint32_t(body.size())),
              referenceWalk(trees, body, nullptr, 0));
  }
  EXPECT_GT(agreedTexts, 100u);
}

}  // namespace
}  // namespace orvia::content
