// The two LZW decoders. Each takes the code stream and its size in bytes (type 1: the
// body from offset 8; type 64: the codes from offset 12), writes at most capacity bytes
// (text and NUL) and returns the text length, or 0: for lack of room, for an end code
// first (type 1), a first code 256 (type 64), and for damage: a stream that ends early,
// a code past the last table entry, a width past 16 bits.
// The string table lives in memory reused by the calling thread.
#pragma once

#include <cstdint>

namespace orvia::content {

uint32_t lzwType1Size(const uint8_t* body, uint32_t bodySize);
uint32_t lzwType1Decode(const uint8_t* body, uint32_t bodySize, uint8_t* out, uint32_t capacity);
uint32_t lzwType64Decode(const uint8_t* codes, uint32_t codesSize, uint8_t* out, uint32_t capacity);

}  // namespace orvia::content
