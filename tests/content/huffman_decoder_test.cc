// The Huffman decoder against trees and bit streams worked out by hand, and the
// table-driven decoder against a plain walk of the trees, bit by bit.
#include "content/huffman_decoder.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "content_test_util.h"

namespace orvia::content {
namespace {

using test::Bytes;
using test::kTree0;
using test::kTree1;
using test::kTree2;
using test::treeBytes;

struct Trees {
  Bytes t[3];
  HuffmanTrees view() const {
    HuffmanTrees v;
    for (int i = 0; i < 3; ++i) {
      v.tree[i] = t[i].data();
      v.size[i] = uint32_t(t[i].size());
    }
    return v;
  }
};

Trees handTrees() {
  return {{treeBytes(kTree0), treeBytes(kTree1), treeBytes(kTree2)}};
}

struct Case {
  const char* name;
  Bytes body;
  uint32_t capacity;
  std::string expected;  // empty: 0
};

TEST(HuffmanDecoderTest, HandWorkedStreams) {
  const Case cases[] = {
      // 111 110 101 100
      {"two letters and the marker", {0xFA, 0xC0}, 16, "ab~!"},
      {"capacity exactly full", {0xFA, 0xC0}, 5, "ab~!"},
      {"capacity one byte short", {0xFA, 0xC0}, 4, ""},
      // ~ a (disarms) ~ ! (ignored) CR LF ~ !
      {"disarmed marker, re-armed after CR LF", {0xBE, 0xC6, 0xAC}, 16, "~a~!\r\n~!"},
      // ~ a, CR re-arms, ~ !
      {"re-armed after CR", {0xBD, 0xD8}, 16, "~a\r~!"},
      // ~ a, then ~ CR: a tilde and CR while disarmed re-arm it; ~ !
      {"tilde CR re-arms", {0xBE, 0xBB, 0x00}, 16, "~a~\r~!"},
      // a, switch, B0 A1, B0 A2, switch back, ~ !
      {"double-byte run", {0xE7, 0x96, 0x00}, 16, "a\xB0\xA1\xB0\xA2~!"},
      // a b and then only two padding bits: the next symbol needs a third.
      {"stream ends before the marker", {0xF8}, 16, ""},
      {"empty body", {}, 16, ""},
  };
  HuffmanDecoder decoder;
  Trees trees = handTrees();
  ASSERT_TRUE(decoder.load(trees.view()));
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::string out(c.capacity + 8, '\x7F');
    uint32_t result = decoder.decode(c.body.data(), uint32_t(c.body.size()),
                                     reinterpret_cast<uint8_t*>(out.data()), c.capacity);
    EXPECT_EQ(result, c.expected.size());
    EXPECT_EQ(out.substr(c.capacity), std::string(8, '\x7F'));
    if (c.expected.empty()) continue;
    EXPECT_EQ(out.substr(0, result + 1), c.expected + '\0');
    if (c.capacity == 16) {
      EXPECT_EQ(decoder.textSize(c.body.data(), uint32_t(c.body.size())), c.expected.size());
      EXPECT_EQ(huffmanTextSize(trees.view(), c.body.data(), uint32_t(c.body.size())),
                c.expected.size());
    }
  }
}

TEST(HuffmanDecoderTest, RefusesTreesThatYieldWithoutBits) {
  struct TreeCase {
    const char* name;
    std::vector<uint16_t> t0, t1, t2;
    bool usable;
  };
  const TreeCase cases[] = {
      {"leaf at the root of tree 0", {0x261}, kTree1, kTree2, false},
      {"leaves at the roots of trees 1 and 2", kTree0, {0x2B0}, {0x2A1}, true},
      {"switch leaf at the root of tree 1", kTree0, {0x2FF}, {0x2A1}, true},
      {"leaf at the root of tree 1 only", kTree0, {0x2B0}, kTree2, true},
      {"empty trees 1 and 2", kTree0, {}, {}, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Trees trees{{treeBytes(c.t0), treeBytes(c.t1), treeBytes(c.t2)}};
    HuffmanDecoder decoder;
    EXPECT_EQ(decoder.load(trees.view()), c.usable);
  }
  // Single leaves at the roots of trees 1 and 2, a placeholder in a single-byte file,
  // decode single-byte text; only a double-byte run over them fails.
  Trees placeholder{{treeBytes(kTree0), treeBytes({0x2B0}), treeBytes({0x2A1})}};
  const Bytes text{0xFA, 0xC0}, run{0xE7, 0x96, 0x00};
  uint8_t out[16];
  EXPECT_EQ(huffmanTextDecode(placeholder.view(), text.data(), 2, out, sizeof out), 4u);
  EXPECT_EQ(huffmanTextSize(placeholder.view(), text.data(), 2), 4u);
  EXPECT_EQ(huffmanTextDecode(placeholder.view(), run.data(), 3, out, sizeof out), 0u);
  EXPECT_EQ(huffmanTextSize(placeholder.view(), run.data(), 3), 0u);
}

TEST(HuffmanDecoderTest, DamagedTreesFailWhenReached) {
  // The 0 branch of the root points far outside the tree; the 1 branch is fine.
  Trees trees{{treeBytes({300, 0x261}), treeBytes(kTree1), treeBytes(kTree2)}};
  const Bytes zeros{0x00};
  uint8_t out[16];
  EXPECT_EQ(huffmanTextDecode(trees.view(), zeros.data(), 1, out, sizeof out), 0u);
  // A leaf value that is not a byte.
  Trees wide{{treeBytes({2, 0x261, 0x3FF}), treeBytes(kTree1), treeBytes(kTree2)}};
  EXPECT_EQ(huffmanTextSize(wide.view(), zeros.data(), 1), 0u);
}

// The format's walk, bit by bit, with the decoder's failure rules. capacity 0: count.
uint32_t referenceWalk(const Trees& trees, const Bytes& body, uint8_t* out, uint32_t capacity) {
  size_t bit = 0;
  auto symbol = [&](int t, uint32_t* s) {
    size_t count = trees.t[t].size() / 2;
    size_t i = 0;
    for (;;) {
      if (i >= count) return false;
      uint16_t v = uint16_t(trees.t[t][2 * i] | (trees.t[t][2 * i + 1] << 8));
      if (v >= 0x200) {
        if (v > 0x2FF) return false;
        *s = v - 0x200;
        return true;
      }
      if (bit >= body.size() * 8) return false;
      bool one = (body[bit / 8] >> (7 - bit % 8)) & 1;
      ++bit;
      i = one ? i + 1 : v;
    }
  };
  uint32_t n = 0;
  auto append = [&](uint32_t b) {
    if (capacity != 0) out[n] = uint8_t(b);
    return ++n != capacity;
  };
  auto run = [&]() {
    for (;;) {
      uint32_t f, t;
      const size_t before = bit;
      if (!symbol(1, &f)) return false;
      if (f == 0xFF) return true;
      if (!append(f) || !symbol(2, &t) || !append(t)) return false;
      if (bit == before) return false;  // leaves at both roots: a run that never ends
    }
  };
  bool armed = true;
  for (;;) {
    uint32_t s;
    if (!symbol(0, &s)) return 0;
    if (s == 0xFF) {
      if (!run()) return 0;
      continue;
    }
    if (!append(s)) return 0;
    if (s == '~') {
      if (!symbol(0, &s)) return 0;
      if (s == 0xFF) {
        if (!run()) return 0;
        continue;
      }
      if (!append(s)) return 0;
      if (armed && s == '!') {
        if (capacity != 0) out[n] = 0;
        return n;
      }
      if (armed) {
        armed = false;
      } else if (s == 13 || s == 10) {
        armed = true;
      }
    } else if (s == 13 || s == 10) {
      armed = true;
    }
  }
}

// Random trees over a small alphabet rich in '~', '!', CR, LF and the switch, some of
// them damaged, with random bodies: the table-driven decoder must agree exactly.
TEST(HuffmanDecoderTest, TableDrivenMatchesBitByBitWalk) {
  std::mt19937 rng(7);
  const uint16_t alphabet[] = {'a', '~', '!', 13, 10, 0xFF, 0xB0, 'z'};
  auto randomTree = [&](size_t size) {
    std::vector<uint16_t> t(size);
    for (auto& e : t) {
      uint32_t r = rng() % 100;
      e = r < 45 ? uint16_t(rng() % (size + (r < 2 ? 5 : 0)))
                 : uint16_t(0x200 + alphabet[rng() % 8] + (r == 99 ? 0x100 : 0));
    }
    return t;
  };
  uint32_t agreedTexts = 0;
  for (int round = 0; round < 20000; ++round) {
    Trees trees{{treeBytes(randomTree(3 + rng() % 40)), treeBytes(randomTree(1 + rng() % 12)),
                 treeBytes(randomTree(1 + rng() % 12))}};
    HuffmanDecoder decoder;
    if (!decoder.load(trees.view())) continue;
    Bytes body(rng() % 24);
    for (auto& b : body) b = uint8_t(rng());
    uint32_t capacity = 1 + rng() % 40;
    uint8_t expected[64], actual[64];
    uint32_t want = referenceWalk(trees, body, expected, capacity);
    uint32_t got = decoder.decode(body.data(), uint32_t(body.size()), actual, capacity);
    ASSERT_EQ(got, want) << "round " << round;
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
