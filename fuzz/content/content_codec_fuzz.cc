// Property: the codecs never read past the body nor write past the capacity, and the
// size passes agree with the text passes whenever the text fits.
// Input: u16 capacity, u16 tree-0 size, u8 tree-1 size, u8 tree-2 size, the trees, then
// the body, decoded as every type.
#include <cstdint>
#include <vector>

#include "base/bytes.h"
#include "content/huffman_decoder.h"
#include "content/lzw_decoder.h"

using namespace orvia::content;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 6) return 0;
  const uint32_t capacity = 1 + orvia::loadU16Le(data);
  const uint32_t treeSize[3] = {orvia::loadU16Le(data + 2), data[4], data[5]};
  HuffmanTrees trees;
  size_t at = 6;
  for (int t = 0; t < 3; at += trees.size[t++]) {
    trees.tree[t] = data + at;
    trees.size[t] = uint32_t(treeSize[t] < size - at ? treeSize[t] : size - at);
  }
  // Exact-size copies so that any read past the body is caught.
  std::vector<uint8_t> body(data + at, data + size), out(capacity);
  const uint32_t n = uint32_t(body.size());
  const uint32_t lzw = lzwType1Decode(body.data(), n, out.data(), capacity);
  if (lzw != 0 && lzw != lzwType1Size(body.data(), n)) __builtin_trap();
  lzwType64Decode(body.data(), n, out.data(), capacity);
  HuffmanDecoder decoder;
  if (!decoder.load(trees)) return 0;
  const uint32_t text = decoder.decode(body.data(), n, out.data(), capacity);
  if (text != 0 && text != decoder.textSize(body.data(), n)) __builtin_trap();
  return 0;
}
