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

}  // namespace

const HuffmanDecoder* loadHuffmanTrees(FileHandle file, bool* usable) {
  uint8_t sizes[6];
  if (readFileAt(file, kTreeSizesOffset, sizeof sizes, sizes) != sizeof sizes) return nullptr;
  uint32_t size[kHuffmanTreeCount];
  uint32_t total = 0;
  for (uint32_t t = 0; t < kHuffmanTreeCount; ++t) {
    size[t] = loadU16Le(sizes + 2 * t);
    total += size[t];
  }
  // Trees that run past the end of the file show as a short read; three u16 sizes bound
  // the block well below a megabyte.
  HeapBuffer trees;
  if (!trees.reserve(total)) return nullptr;
  if (total != 0 && readFileAt(file, kTreesOffset, total, trees.data()) != total) return nullptr;

  thread_local TreeCache cache;
  bool same =
      cache.filled && cache.bytes.size() == sizeof sizes + total &&
      std::memcmp(cache.bytes.data(), sizes, sizeof sizes) == 0 &&
      (total == 0 || std::memcmp(cache.bytes.data() + sizeof sizes, trees.data(), total) == 0);
  if (!same) {
    cache.bytes.assign(sizes, sizes + sizeof sizes);
    cache.bytes.insert(cache.bytes.end(), trees.data(), trees.data() + total);
    HuffmanTrees view;
    uint32_t at = 0;
    for (uint32_t t = 0; t < kHuffmanTreeCount; ++t) {
      view.tree[t] = trees.data() + at;
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
