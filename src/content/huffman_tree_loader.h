// Reads a data file's three Huffman trees and derives their decoder.
#pragma once

#include <cstdint>

#include "content/file_access.h"
#include "content/huffman_decoder.h"
#include "dict/heap_buffer.h"

namespace orvia::content {

// A data file's tree block as it stands in the file: the three u16 tree sizes, then the
// trees.
class HuffmanTreeBlock {
 public:
  // Reads the sizes and the trees of file; false unless both reads are complete or when
  // the allocation fails.
  bool read(FileHandle file);
  const uint8_t* bytes() const { return bytes_; }
  uint32_t size() const { return size_; }
  // Derives decoder from the block; false for trees the decoder refuses.
  bool derive(HuffmanDecoder* decoder) const;

 private:
  // One read of this much takes the sizes and the trees of most files, whose tree 0 is
  // some 500 u16 entries.
  static constexpr uint32_t kFirstReadSize = 4096;
  uint8_t first_[kFirstReadSize];
  HeapBuffer larger_;
  const uint8_t* bytes_ = nullptr;
  uint32_t size_ = 0;
};

// Reads the tree block of file and returns its decoder, or null when the block cannot be
// read. *usable is false for trees the decoder refuses; decoding with them gives 0.
// The decoder is kept per thread and reused while the next file's tree bytes are the
// same; it stays valid until this thread's next call.
const HuffmanDecoder* loadHuffmanTrees(FileHandle file, bool* usable);

}  // namespace orvia::content
