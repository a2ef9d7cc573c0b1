// Reads a data file's three Huffman trees and derives their decoder.
#pragma once

#include "content/file_access.h"
#include "content/huffman_decoder.h"

namespace orvia::content {

// Reads the tree sizes and the trees of file (both reads must be complete) and returns
// their decoder, or null when the file cannot be read or the allocation fails. *usable
// is false for trees the decoder refuses; decoding with them gives 0.
// The decoder is kept per thread and reused while the next file's tree bytes are the
// same; it stays valid until this thread's next call.
const HuffmanDecoder* loadHuffmanTrees(FileHandle file, bool* usable);

}  // namespace orvia::content
