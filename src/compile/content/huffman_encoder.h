// Huffman coding of content texts with three trees built from the byte statistics of a
// whole dictionary: tree 0 for single bytes and the switch symbol 0xFF, tree 1 for the
// first bytes of double-byte characters and the switch back, tree 2 for second bytes.
// A byte from 0x81 to 0xFE with a byte after it starts a double-byte character; a lone
// 0xFF cannot be coded.
#pragma once

#include <cstdint>
#include <vector>

#include "content/content_format.h"
#include "content/huffman_decoder.h"

namespace orvia::compile {

// Symbol counts of every text the trees will code.
class HuffmanStatistics {
 public:
  // False (nothing counted) for a text that has a lone 0xFF.
  bool add(const uint8_t* text, uint32_t size);
  const uint64_t* counts(uint32_t tree) const { return counts_[tree]; }

 private:
  uint64_t counts_[content::kHuffmanTreeCount][256] = {};
};

class HuffmanEncoder {
 public:
  // Builds the trees. Every tree gets at least two leaves so that no symbol is read
  // without consuming bits.
  explicit HuffmanEncoder(const HuffmanStatistics& statistics);

  // A tree as the data file stores it: u16 little-endian entries.
  const std::vector<uint8_t>& treeBytes(uint32_t tree) const { return trees_[tree]; }

  // Appends the bit stream of text to bits. False when the text cannot be coded: a
  // symbol the trees lack, a lone 0xFF, or a text at whose final "~!" the decoder's
  // end-marker rule does not stop exactly.
  bool encode(const uint8_t* text, uint32_t size, std::vector<uint8_t>* bits) const;

 private:
  struct Code {
    uint64_t bits = 0;
    uint32_t length = 0;  // 0: no such symbol
  };
  void build(uint32_t tree, const uint64_t* counts);

  std::vector<uint8_t> trees_[content::kHuffmanTreeCount];
  Code codes_[content::kHuffmanTreeCount][256];
  content::HuffmanDecoder check_;
  bool usable_ = false;
};

}  // namespace orvia::compile
