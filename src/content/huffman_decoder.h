// Type-3 bodies: a bit stream over the data file's three Huffman trees (tree 0 for single
// bytes, trees 1 and 2 for the first and second byte of a double-byte character; symbol
// 0xFF switches between the two). Decoding stops at the end marker "~!" while the marker
// is armed: at the start and after CR or LF, disarmed by a tilde and any byte other than
// '!'. The text returned includes the "~!".
#pragma once

#include <cstdint>
#include <vector>

#include "content/content_format.h"

namespace orvia::content {

// The three trees as they stand in the file: u16 little-endian entries.
struct HuffmanTrees {
  const uint8_t* tree[kHuffmanTreeCount] = {nullptr, nullptr, nullptr};
  uint32_t size[kHuffmanTreeCount] = {0, 0, 0};  // in bytes
};

// A table-driven decoder derived from the trees; it gives exactly the results of walking
// the trees bit by bit. Decoding fails (0) for lack of room (as the format defines: the
// capacity is reached while appending), for a stream that ends before its "~!", and for
// a walk that reaches an entry outside its tree or a leaf that is not a byte.
class HuffmanDecoder {
 public:
  // False for trees that would yield symbols without reading bits for ever: a leaf at the
  // root of tree 0. A tree whose root is a leaf yields that symbol without reading a bit,
  // so leaves at the roots of trees 1 and 2 (tree 1's not the switch) fail the decoding
  // of a double-byte run when one is entered, and only then.
  bool load(const HuffmanTrees& trees);

  // The decoded length, "~!" included; 0 on failure.
  uint32_t textSize(const uint8_t* body, uint32_t bodySize) const;
  // Writes the text and a NUL; returns the length, or 0.
  uint32_t decode(const uint8_t* body, uint32_t bodySize, uint8_t* out, uint32_t capacity) const;

 private:
  static constexpr uint32_t kTableBits = 10;
  struct Tree {
    std::vector<uint16_t> entries;
    std::vector<uint32_t> table;  // 2^kTableBits lookups
  };
  void buildTable(Tree& tree);
  template <class Sink>
  uint32_t walk(const uint8_t* body, uint32_t bodySize, Sink& sink) const;

  Tree trees_[kHuffmanTreeCount];
};

}  // namespace orvia::content
