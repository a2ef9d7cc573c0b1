// The owner-word exchange file: the user's records and memory notes of dictionaries, one
// section per dictionary. Little-endian u32s.
//   offset  size  field
//        0     4  magic "FWOS"
//        4     4  version, 1
//        8     4  section count, not 0
//       12     4  total size of the file, this header included
//       16     -  sections, one after another:
//                   0   4  dictionary id: its three low bytes, top byte 0
//                   4   4  R, the number of record items
//                   8   4  M, the number of memory items
//                  12   4  section length, this header and its items included
//                  16   -  R record items, then M memory items
// An item is a full item: u32 K (1..1000), K bytes of key area (the index record's
// strings from offset 16, with a language-1 record's vcode byte), u32 C (not 0), C bytes
// of text without terminator; or an empty item, a single u32 0.
// Readers take any number of sections and use the first whose id matches; they check the
// magic, the version, the count and that the total size is the file's size, and read the
// items of the matching section one after another, bounded by the file alone.
#pragma once

#include <cstdint>

#include "base/bytes.h"
#include "dict/dict_id.h"

namespace orvia::update {

inline constexpr uint32_t kOwnerWordMagic = 0x534F5746;  // "FWOS"
inline constexpr uint32_t kOwnerWordVersion = 1;
inline constexpr uint32_t kOwnerWordHeaderSize = 16;
inline constexpr uint32_t kOwnerWordSectionHeaderSize = 16;
inline constexpr uint32_t kMaxKeyAreaLength = 1000;
inline constexpr uint32_t kEmptyItemSize = 4;
// A full item's two length fields.
inline constexpr uint32_t kItemLengthFields = 8;

struct OwnerWordFileHeader {
  uint32_t magic = kOwnerWordMagic;
  uint32_t version = kOwnerWordVersion;
  uint32_t sectionCount = 0;
  uint32_t totalSize = kOwnerWordHeaderSize;
};

struct OwnerWordSectionHeader {
  uint32_t dictId = 0;
  uint32_t recordCount = 0;
  uint32_t memoryCount = 0;
  uint32_t length = kOwnerWordSectionHeaderSize;
};

// The id the exchange goes by: 0 when one of the three low bytes is 0, else those three.
constexpr uint32_t exchangeDictId(uint32_t id) {
  return dict::isValidDictId(id) ? dict::baseOf(id) : 0;
}

// Both headers are four u32s in the order of their fields.
inline void encodeFour(uint32_t a, uint32_t b, uint32_t c, uint32_t d, uint8_t (&out)[16]) {
  storeU32Le(out, a);
  storeU32Le(out + 4, b);
  storeU32Le(out + 8, c);
  storeU32Le(out + 12, d);
}

inline void encodeFileHeader(const OwnerWordFileHeader& h, uint8_t (&out)[16]) {
  encodeFour(h.magic, h.version, h.sectionCount, h.totalSize, out);
}
inline void encodeSectionHeader(const OwnerWordSectionHeader& h, uint8_t (&out)[16]) {
  encodeFour(h.dictId, h.recordCount, h.memoryCount, h.length, out);
}
inline OwnerWordFileHeader decodeFileHeader(const uint8_t (&in)[16]) {
  return {loadU32Le(in), loadU32Le(in + 4), loadU32Le(in + 8), loadU32Le(in + 12)};
}
inline OwnerWordSectionHeader decodeSectionHeader(const uint8_t (&in)[16]) {
  return {loadU32Le(in), loadU32Le(in + 4), loadU32Le(in + 8), loadU32Le(in + 12)};
}

}  // namespace orvia::update
