// Data files (".DAT") and the content records inside them. Little-endian, 32-bit offsets
// from the start of the file.
//
//   offset   size       field
//        0      1       number n of valid file-index entries (0..255)
//        1  65536       file-index table: 256 entries of 256 bytes; entry k at k*256+1
//  0x10001      2       byte size a of Huffman tree 0
//  0x10003      2       byte size b of Huffman tree 1
//  0x10005      2       byte size c of Huffman tree 2
//  0x10007  a+b+c       the three trees, one after the other
//  anywhere after       content records, addressed by offset
//
// File-index entry: byte 0 non-zero: the entry is a NUL-terminated full path. Byte 0
// zero: u32 dictionary id at 1..4 and a non-empty NUL-terminated file name from 5.
//
// Content record: u32 header (type in bits 24..31, total length L in bits 0..23, L > 8),
// u32 continuation reference, L-8 body bytes:
//   type   0 stored: the text.
//   type   1 LZW: code stream, end code 0, widen code 256, first entry 257.
//   type   2 masked: u32 mask, then L-12 bytes, whole words XORed with the mask.
//   type   3 Huffman: bit stream over the file's three trees, ending at the "~!" marker.
//   type  64 LZW with length: u32 decoded size, code stream with end 256, widen 257,
//            reset 258, first entry 259.
//   type 255 composite: nested records laid end to end.
// Continuation: 0xFFFFFFFF none; top byte 0xFF: record at the low 24 bits in the same
// file; top byte k < 0xFF: record at the low 24 bits of the file of entry k (k < n).
//
// Code streams are 32-bit little-endian words read from their most significant bit;
// writers pad them to whole words. Huffman bit streams are bytes read from bit 7.
// Huffman tree entry (u16): 0x200 + symbol for a leaf; otherwise an inner node whose
// 1 bit leads to the next entry and whose 0 bit leads to the entry it names.
#pragma once

#include <cstdint>

namespace orvia::content {

inline constexpr uint32_t kFileIndexCountOffset = 0;
inline constexpr uint32_t kFileIndexTableOffset = 1;
inline constexpr uint32_t kFileIndexEntrySize = 256;
inline constexpr uint32_t kFileIndexEntryCount = 256;
inline constexpr uint32_t kFileIndexIdOffset = 1;
inline constexpr uint32_t kFileIndexNameOffset = 5;
inline constexpr uint32_t kTreeSizesOffset = 0x10001;
inline constexpr uint32_t kTreesOffset = 0x10007;
inline constexpr uint32_t kHuffmanTreeCount = 3;

enum ContentType : uint8_t {
  kStoredContent = 0,
  kLzwContent = 1,
  kMaskedContent = 2,
  kHuffmanContent = 3,
  kLzwSizedContent = 64,
  kCompositeContent = 255,
};

inline constexpr uint32_t kRecordHeaderSize = 8;
inline constexpr uint32_t kMaskedHeaderSize = 12;  // also the sized LZW header
inline constexpr uint32_t kMaxRecordLength = 0xFFFFFF;
inline constexpr uint32_t kNoContinuation = 0xFFFFFFFF;
inline constexpr uint32_t kSameFileReference = 0xFF;
inline constexpr uint32_t kMaxContinuationOffset = 0xFFFFFF;

inline uint8_t recordType(uint32_t header) {
  return uint8_t(header >> 24);
}
inline uint32_t recordLength(uint32_t header) {
  return header & 0xFFFFFF;
}
inline uint32_t makeRecordHeader(uint8_t type, uint32_t length) {
  return (uint32_t(type) << 24) | (length & 0xFFFFFF);
}

inline constexpr uint16_t kHuffmanLeafBase = 0x200;
inline constexpr uint8_t kHuffmanSwitchSymbol = 0xFF;

inline constexpr uint32_t kLzwTableSize = 32768;
inline constexpr uint32_t kLzwFullTable = 32769;  // next code once the table is full
inline constexpr uint32_t kLzwFirstWidth = 9;
inline constexpr uint32_t kLzwMaxWidth = 16;
inline constexpr uint32_t kLzwMaxStringLength = 0xFFFF;  // lengths are 16-bit
inline constexpr uint32_t kLzw1EndCode = 0;
inline constexpr uint32_t kLzw1WidenCode = 256;
inline constexpr uint32_t kLzw1FirstEntry = 257;
inline constexpr uint32_t kLzw64EndCode = 256;
inline constexpr uint32_t kLzw64WidenCode = 257;
inline constexpr uint32_t kLzw64ResetCode = 258;
inline constexpr uint32_t kLzw64FirstEntry = 259;

}  // namespace orvia::content
