// A segment: the immutable sorted part of an index. It lives inside the index file
// (written with it) or, after a compaction, in a file of its own. Little-endian.
//   offset      size    field
//        0         8    magic "OrvSeg1\0"
//        8         4    record count n
//       12         4    content name count m
//       16         8    records area size R, below 2^32
//       24         4    CRC-32C of the records area
//       28         4    CRC-32C of the offset table
//       32         4    CRC-32C of the name table
//       36        24    zero
//       60         4    CRC-32C of bytes 0..59
//       64         R    records area: stored records back to back, each followed by
//                       four zero bytes
//     64+R    4(n+1)    offset table: u32 offset of record i in the records area;
//                       entry 0 is 0 and entry n is R
//  64+R+4(n+1)   20m    name table: u32 contentDictId, strictly ascending, then the
//                       16-byte content file name
// The segment's size is exactly the sum of its parts.
//
// Stored record: u32 length L (16..1024, the header included), u32 contentDictId,
// u32 contentRef, u32 zero (the number is filled in when the record is read), then
// L - 16 bytes of string area. Offset entry i + 1 minus entry i is L + 4.
//
// The zero bytes behind each record let the compare callback run past a string area
// that lacks its terminators without reading another record's bytes. The checksums
// are checked by verify, not by open, so that opening costs the same at any size; a
// read checks the offsets, the length and the zero bytes of each record it touches.
#pragma once

#include <cstddef>
#include <cstdint>

namespace orvia::db {

inline constexpr uint8_t kSegmentMagic[8] = {'O', 'r', 'v', 'S', 'e', 'g', '1', 0};
inline constexpr size_t kSegmentHeaderSize = 64;
inline constexpr size_t kSegmentHeaderCrcOffset = 60;
inline constexpr size_t kRecordPadding = 4;
inline constexpr size_t kNameEntrySize = 20;
inline constexpr uint32_t kRecordHeaderSize = 16;
inline constexpr uint32_t kMaxRecordSize = 1024;
inline constexpr uint32_t kMaxStringAreaSize = kMaxRecordSize - kRecordHeaderSize;
inline constexpr size_t kContentNameSize = 16;
inline constexpr uint64_t kMaxRecordsAreaSize = 0xFFFFFFFFu;

}  // namespace orvia::db
