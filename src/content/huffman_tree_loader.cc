#include "content/huffman_tree_loader.h"

#include <cstring>
#include <vector>

#include "base/bytes.h"
#include "content/content_format.h"
#include "dict/heap_buffer.h"

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

// The sizes and the trees follow each other; one read of this much takes both for the
// trees of most files, whose tree 0 is some 500 u16 entries.
constexpr uint32_t kFirstReadSize = 4096;

}  // namespace

const HuffmanDecoder* loadHuffmanTrees(FileHandle file, bool* usable) {
  static_assert(kTreesOffset == kTreeSizesOffset + 6, "the trees follow their sizes");
  // Trees that run past the end of the file show as a short read; three u16 sizes bound
  // the block well below a megabyte.
  uint8_t first[kFirstReadSize];
  const uint32_t got = readFileAt(file, kTreeSizesOffset, kFirstReadSize, first);
  if (got < 6) return nullptr;
  uint32_t size[kHuffmanTreeCount];
  uint32_t total = 0;
  for (uint32_t t = 0; t < kHuffmanTreeCount; ++t) {
    size[t] = loadU16Le(first + 2 * t);
    total += size[t];
  }
  const uint32_t whole = 6 + total;
  const uint8_t* sizes = first;
  HeapBuffer larger;
  if (whole > got) {
    if (got < kFirstReadSize || !larger.reserve(whole)) return nullptr;
    std::memcpy(larger.data(), first, got);
    if (readFileAt(file, kTreeSizesOffset + got, whole - got, larger.data() + got) != whole - got)
      return nullptr;
    sizes = larger.data();
  }
  const uint8_t* trees = sizes + 6;

  thread_local TreeCache cache;
  bool same = cache.filled && cache.bytes.size() == whole &&
              std::memcmp(cache.bytes.data(), sizes, whole) == 0;
  if (!same) {
    cache.bytes.assign(sizes, sizes + whole);
    HuffmanTrees view;
    uint32_t at = 0;
    for (uint32_t t = 0; t < kHuffmanTreeCount; ++t) {
      view.tree[t] = trees + at;
      view.size[t] = size[t];
      at += size[t];
    }
    cache.usable = cache.decoder.load(view);
    cache.filled = true;
  }
  *usable = cache.usable;
  return &cache.decoder;
}

}  // namespace orvia::content
