// The index file ("<name>.IDX"): a fixed 256-byte prefix, the segment when it lives in
// the file itself, then the change log to the end of the file. Little-endian.
//   offset  size  field
//        0     8  magic "OrviaDB\x1a"
//        8     8  change counter: bumped after every commit, read by other handles
//                 without a lock to learn cheaply that something changed; a hint only
//       16    48  zero
//       64    64  header slot 0
//      128    64  header slot 1
//      192    64  zero
//      256     .  the segment written with the file (bulk load or create); after a
//                 compaction these bytes are dead but stay, as other handles map them
//  logOffset   .  change log entries (change_log_format.h) up to the end of the file
//
// Header slot: the valid slot with the higher generation is current. A compaction writes
// the other slot, so a torn slot write leaves the previous one in force.
//        0     4  format version, 1
//        4     4  generation, >= 1; change log entries carry it
//        8     4  segment placement: 0 in this file at segmentOffset, 1 in the file
//                 "<index path>.<generation as 8 upper-case hex digits>" at offset 0
//       12     4  zero
//       16     8  segment offset
//       24     8  segment size
//       32     8  log offset: >= 256 and >= the end of an in-file segment; never
//                 changes, so the file never shrinks below a mapped region
//       40    20  zero
//       60     4  CRC-32C of bytes 0..59
// Shorter than 256 bytes or than the log offset: not an index. Bad magic or both slots
// invalid: not an index (or damaged beyond use).
#pragma once

#include <cstddef>
#include <cstdint>

namespace orvia::db {

inline constexpr uint8_t kIndexMagic[8] = {'O', 'r', 'v', 'i', 'a', 'D', 'B', 0x1A};
inline constexpr size_t kIndexPrefixSize = 256;
inline constexpr size_t kChangeCounterOffset = 8;
inline constexpr size_t kHeaderSlotOffset[2] = {64, 128};
inline constexpr size_t kHeaderSlotSize = 64;
inline constexpr size_t kHeaderSlotCrcOffset = 60;
inline constexpr uint32_t kFormatVersion = 1;
inline constexpr uint32_t kSegmentInFile = 0;
inline constexpr uint32_t kSegmentInOwnFile = 1;

}  // namespace orvia::db
