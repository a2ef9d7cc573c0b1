#include "content/huffman_decoder.h"

#include <cstddef>

#include "base/bytes.h"

namespace orvia::content {
namespace {

// Table entries: bits 0..7 the bits consumed, bits 8..9 the kind, bits 16..31 the symbol
// (leaf) or the entry to go on from (inner node after kTableBits bits).
constexpr uint32_t kBad = 0, kLeaf = 1, kInner = 2;
constexpr uint32_t makeEntry(uint32_t kind, uint32_t value, uint32_t bits) {
  return (value << 16) | (kind << 8) | bits;
}
constexpr uint16_t kMaxLeaf = kHuffmanLeafBase + 0xFF;
constexpr uint8_t kCr = 13, kLf = 10;

bool isLeaf(uint16_t entry) {
  return entry >= kHuffmanLeafBase;
}

// MSB-first bits of the body. Past the body the buffer holds zero bits, but left_ counts
// only real ones, so a symbol that needs them fails.
class BitReader {
 public:
  BitReader(const uint8_t* body, uint32_t size)
      : p_(body), end_(body + size), left_(uint64_t(size) * 8) {}

  void refill() {
    if (end_ - p_ >= 8) {
      uint64_t word = uint64_t(p_[0]) << 56 | uint64_t(p_[1]) << 48 | uint64_t(p_[2]) << 40 |
                      uint64_t(p_[3]) << 32 | uint64_t(p_[4]) << 24 | uint64_t(p_[5]) << 16 |
                      uint64_t(p_[6]) << 8 | uint64_t(p_[7]);
      buffer_ |= word >> count_;
      p_ += (63 - count_) >> 3;
      count_ |= 56;
    } else {
      while (count_ <= 56) {
        buffer_ |= uint64_t(p_ < end_ ? *p_++ : 0) << (56 - count_);
        count_ += 8;
      }
    }
  }
  uint32_t peek(uint32_t bits) const { return uint32_t(buffer_ >> (64 - bits)); }
  uint64_t left() const { return left_; }
  void consume(uint32_t bits) {
    buffer_ <<= bits;
    count_ -= bits;
    left_ -= bits;
  }

 private:
  const uint8_t* p_;
  const uint8_t* end_;
  uint64_t buffer_ = 0;
  uint32_t count_ = 0;
  uint64_t left_;
};

struct SizeSink {
  uint32_t n = 0;
  bool append(uint32_t) {
    ++n;
    return true;
  }
  uint32_t finish() const { return n; }
};

struct TextSink {
  uint8_t* out;
  uint32_t capacity;
  uint32_t n = 0;
  bool append(uint32_t b) {
    out[n++] = uint8_t(b);
    return n != capacity;
  }
  uint32_t finish() {
    out[n] = 0;
    return n;
  }
};

}  // namespace

void HuffmanDecoder::buildTable(Tree& tree) {
  tree.table.assign(size_t(1) << kTableBits, makeEntry(kBad, 0, 0));
  const uint32_t count = uint32_t(tree.entries.size());
  // Depth-first over the first kTableBits levels; a path through a loop of inner nodes
  // simply stops at the table depth.
  struct Frame {
    uint32_t node, prefix, depth;
  };
  Frame stack[kTableBits + 2];
  uint32_t top = 0;
  stack[top++] = {0, 0, 0};
  while (top > 0) {
    Frame f = stack[--top];
    uint32_t span = 1u << (kTableBits - f.depth);
    uint32_t first = f.prefix << (kTableBits - f.depth);
    uint32_t entry;
    if (f.node >= count || tree.entries[f.node] > kMaxLeaf) {
      entry = makeEntry(kBad, 0, f.depth);
    } else if (isLeaf(tree.entries[f.node])) {
      entry = makeEntry(kLeaf, tree.entries[f.node] - kHuffmanLeafBase, f.depth);
    } else if (f.depth == kTableBits) {
      entry = makeEntry(kInner, f.node, f.depth);
    } else {
      stack[top++] = {f.node + 1, (f.prefix << 1) | 1, f.depth + 1};
      stack[top++] = {tree.entries[f.node], f.prefix << 1, f.depth + 1};
      continue;
    }
    for (uint32_t i = 0; i < span; ++i) tree.table[first + i] = entry;
  }
}

bool HuffmanDecoder::load(const HuffmanTrees& trees) {
  for (uint32_t t = 0; t < kHuffmanTreeCount; ++t) {
    Tree& tree = trees_[t];
    tree.entries.resize(trees.size[t] / 2);
    for (size_t i = 0; i < tree.entries.size(); ++i) {
      tree.entries[i] = loadU16Le(trees.tree[t] + 2 * i);
    }
    buildTable(tree);
  }
  // Single-leaf trees 1 and 2 are a natural placeholder in a file without double-byte
  // text: they are refused only when a run over them is entered (see walk).
  return trees_[0].entries.empty() || !isLeaf(trees_[0].entries[0]);
}

template <class Sink>
uint32_t HuffmanDecoder::walk(const uint8_t* body, uint32_t bodySize, Sink& sink) const {
  BitReader in(body, bodySize);
  auto symbol = [&](const Tree& tree, uint32_t* s) {
    in.refill();
    uint32_t e = tree.table[in.peek(kTableBits)];
    uint32_t kind = (e >> 8) & 3, bits = e & 0xFF;
    if (bits > in.left() || kind == kBad) return false;
    in.consume(bits);
    if (kind == kLeaf) {
      *s = e >> 16;
      return true;
    }
    uint32_t node = e >> 16;
    for (;;) {
      uint16_t v = tree.entries[node];
      if (isLeaf(v)) {
        if (v > kMaxLeaf) return false;
        *s = v - kHuffmanLeafBase;
        return true;
      }
      if (in.left() == 0) return false;
      in.refill();
      uint32_t bit = in.peek(1);
      in.consume(1);
      node = bit ? node + 1 : v;
      if (node >= tree.entries.size()) return false;
    }
  };
  auto run = [&]() {
    uint32_t first, second;
    for (;;) {
      const uint64_t before = in.left();
      if (!symbol(trees_[1], &first)) return false;
      if (first == kHuffmanSwitchSymbol) return true;
      if (!sink.append(first) || !symbol(trees_[2], &second) || !sink.append(second)) return false;
      // Leaves at both roots yield their pair without reading a bit, for ever.
      if (in.left() == before) return false;
    }
  };

  bool armed = true;
  uint32_t s;
  for (;;) {
    if (!symbol(trees_[0], &s)) return 0;
    if (s == kHuffmanSwitchSymbol) {
      if (!run()) return 0;
      continue;
    }
    if (!sink.append(s)) return 0;
    if (s == '~') {
      if (!symbol(trees_[0], &s)) return 0;
      if (s == kHuffmanSwitchSymbol) {
        if (!run()) return 0;
        continue;
      }
      if (!sink.append(s)) return 0;
      if (armed) {
        if (s == '!') return sink.finish();
        armed = false;
      } else if (s == kCr || s == kLf) {
        armed = true;
      }
    } else if (s == kCr || s == kLf) {
      armed = true;
    }
  }
}

uint32_t HuffmanDecoder::textSize(const uint8_t* body, uint32_t bodySize) const {
  SizeSink sink;
  return walk(body, bodySize, sink);
}

uint32_t HuffmanDecoder::decode(const uint8_t* body, uint32_t bodySize, uint8_t* out,
                                uint32_t capacity) const {
  if (capacity == 0) return 0;
  TextSink sink{out, capacity};
  return walk(body, bodySize, sink);
}

}  // namespace orvia::content
