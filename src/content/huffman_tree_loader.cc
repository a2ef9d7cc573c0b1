#include "content/huffman_tree_loader.h"

#include <cstring>
#include <vector>

#include "base/bytes.h"
#include "content/content_format.h"

namespace orvia::content {
namespace {

// Deriving the lookup tables costs more than decoding a short entry, and successive
// records nearly always share one file's trees.
struct TreeCache {
  std::vector<uint8_t> bytes;  // the six size bytes, then the trees
  HuffmanDecoder decoder;
  bool usable = false;
  bool filled = false;
};

constexpr uint32_t kSizesSize = 2 * kHuffmanTreeCount;

}  // namespace

bool HuffmanTreeBlock::read(FileHandle file) {
  static_assert(kTreesOffset == kTreeSizesOffset + kSizesSize, "the trees follow their sizes");
  // Trees that run past the end of the file show as a short read; three u16 sizes bound
  // the block well below a megabyte.
  const uint32_t got = readFileAt(file, kTreeSizesOffset, kFirstReadSize, first_);
  if (got < kSizesSize) return false;
  uint32_t whole = kSizesSize;
  for (uint32_t t = 0; t < kHuffmanTreeCount; ++t) whole += loadU16Le(first_ + 2 * t);
  bytes_ = first_;
  size_ = whole;
  if (whole <= got) return true;
  if (got < kFirstReadSize || !larger_.reserve(whole)) return false;
  std::memcpy(larger_.data(), first_, got);
  if (readFileAt(file, kTreeSizesOffset + got, whole - got, larger_.data() + got) != whole - got)
    return false;
  bytes_ = larger_.data();
  return true;
}

bool HuffmanTreeBlock::derive(HuffmanDecoder* decoder) const {
  HuffmanTrees view;
  uint32_t at = kSizesSize;
  for (uint32_t t = 0; t < kHuffmanTreeCount; ++t) {
    view.tree[t] = bytes_ + at;
    view.size[t] = loadU16Le(bytes_ + 2 * t);
    at += view.size[t];
  }
  return decoder->load(view);
}

const HuffmanDecoder* loadHuffmanTrees(FileHandle file, bool* usable) {
  HuffmanTreeBlock block;
  if (!block.read(file)) return nullptr;
  thread_local TreeCache cache;
  const bool same = cache.filled && cache.bytes.size() == block.size() &&
                    std::memcmp(cache.bytes.data(), block.bytes(), block.size()) == 0;
  if (!same) {
    cache.bytes.assign(block.bytes(), block.bytes() + block.size());
    cache.usable = block.derive(&cache.decoder);
    cache.filled = true;
  }
  *usable = cache.usable;
  return &cache.decoder;
}

}  // namespace orvia::content
