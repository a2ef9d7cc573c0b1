// Property: the codecs never read past the body nor write past the capacity, and the
// size passes agree with the text passes whenever the text fits.
// Input: u16 capacity, u16 tree-0 size, u8 tree-1 size, u8 tree-2 size, the trees, then
// the body, decoded as every type.
#include <cstdint>
#include <cstring>
#include <vector>

#include "base/bytes.h"
#include "content/huffman_decoder.h"
#include "content/lzw_decoder.h"

using namespace orvia::content;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 6) return 0;
  uint32_t capacity = 1 + orvia::loadU16Le(data);
  uint32_t treeSize[3] = {orvia::loadU16Le(data + 2), data[4], data[5]};
  data += 6;
  size -= 6;
  HuffmanTrees trees;
  for (int t = 0; t < 3; ++t) {
    uint32_t n = treeSize[t] < size ? treeSize[t] : uint32_t(size);
    trees.tree[t] = data;
    trees.size[t] = n;
    data += n;
    size -= n;
  }
  // Exact-size copies so that any read past the body is caught.
  std::vector<uint8_t> body(data, data + size);
  std::vector<uint8_t> out(capacity);
  const uint32_t bodySize = uint32_t(body.size());

  uint32_t n = lzwType1Decode(body.data(), bodySize, out.data(), capacity);
  uint32_t s = lzwType1Size(body.data(), bodySize);
  if (n != 0 && n != s) __builtin_trap();
  lzwType64Decode(body.data(), bodySize, out.data(), capacity);

  HuffmanDecoder decoder;
  if (decoder.load(trees)) {
    n = decoder.decode(body.data(), bodySize, out.data(), capacity);
    if (n != 0 && n != decoder.textSize(body.data(), bodySize)) __builtin_trap();
  }
  return 0;
}
