// A new-word file: a 40-byte header, then two images back to back. Little-endian u32s,
// no magic number, no checksum.
//   offset  size  field
//        0     4  targetDictId      all four bytes non-zero, kind neither 0x7F nor 0xFF
//        4     4  listVersion       at most 255
//        8    16  listTime          opaque: copied, never read
//       24     4  headerSize        40, the offset of the index image
//       28     4  indexImageSize    non-zero: a whole index file
//       32     4  contentImageSize  non-zero: a whole data file
//       36     4  imagesSize        indexImageSize + contentImageSize, a 32-bit sum
//       40     -  index image, then content image; nothing follows them
// The reader and the writer both go by these constants.
#pragma once

#include <cstdint>

#include "base/bytes.h"
#include "dict/dict_id.h"

namespace orvia::update {

inline constexpr uint32_t kNewWordHeaderSize = 40;
inline constexpr uint32_t kNewWordTimeSize = 16;
inline constexpr uint32_t kMaxListVersion = 255;

struct NewWordFileHeader {
  uint32_t targetDictId = 0;
  uint32_t listVersion = 0;
  uint8_t listTime[kNewWordTimeSize] = {};
  uint32_t headerSize = 0;
  uint32_t indexImageSize = 0;
  uint32_t contentImageSize = 0;
  uint32_t imagesSize = 0;
};

inline NewWordFileHeader decodeNewWordHeader(const uint8_t (&bytes)[kNewWordHeaderSize]) {
  NewWordFileHeader header;
  header.targetDictId = loadU32Le(bytes);
  header.listVersion = loadU32Le(bytes + 4);
  for (uint32_t i = 0; i < kNewWordTimeSize; ++i) header.listTime[i] = bytes[8 + i];
  header.headerSize = loadU32Le(bytes + 24);
  header.indexImageSize = loadU32Le(bytes + 28);
  header.contentImageSize = loadU32Le(bytes + 32);
  header.imagesSize = loadU32Le(bytes + 36);
  return header;
}

inline void encodeNewWordHeader(const NewWordFileHeader& header,
                                uint8_t (&bytes)[kNewWordHeaderSize]) {
  storeU32Le(bytes, header.targetDictId);
  storeU32Le(bytes + 4, header.listVersion);
  for (uint32_t i = 0; i < kNewWordTimeSize; ++i) bytes[8 + i] = header.listTime[i];
  storeU32Le(bytes + 24, header.headerSize);
  storeU32Le(bytes + 28, header.indexImageSize);
  storeU32Le(bytes + 32, header.contentImageSize);
  storeU32Le(bytes + 36, header.imagesSize);
}

// All four bytes non-zero: the ids that own registry values and a new-word list.
constexpr bool isFullDictId(uint32_t id) {
  return dict::isValidDictId(id) && dict::companionKindOf(id) != 0;
}
// What a new-word file may name as its target: a full id of any kind but the record and
// memory companions, whose files hold user entries rather than content records.
constexpr bool isNewWordTarget(uint32_t id) {
  const uint32_t kind = dict::companionKindOf(id);
  return isFullDictId(id) && kind != dict::kRecordKind && kind != dict::kMemoryKind;
}

}  // namespace orvia::update
