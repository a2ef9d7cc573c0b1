// Change log entries, appended after the log offset of the index file. Little-endian.
//   offset  size  field
//        0     4  entry size n, this field and the trailing checksum included
//        4     1  kind: 1 insert, 2 delete
//        5     3  zero
//        8     4  generation of the header the entry was written under
//       12     4  CRC-32C of bytes 0..11
//       16     4  record number: where the record went in, or which one went out
//   insert only:
//       20     4  contentDictId
//       24     4  contentRef
//       28    16  content file name kept for contentDictId
//       44     d  string area, d = n - 48, at most 1008 bytes
//    n - 4     4  CRC-32C of bytes 0..n-5
// A delete entry is 24 bytes. Record numbers make replay independent of the compare
// callback: the order was decided once, by the writer, under the file lock.
//
// What a reader tolerates, entry by entry from the log offset:
// - fewer bytes left than the entry needs, a failing checksum on an entry that ends
//   exactly at the end of the file, or only zero bytes up to the end of the file (an
//   append whose bytes never reached the disk): a torn tail, an interrupted append; the
//   log ends before it. A failing header checksum otherwise is damage: its size field
//   cannot be trusted to tell whether more entries follow.
// - an intact entry of an older generation as the first entry: left behind by a
//   compaction that stopped before cutting the log; the log is empty.
// - anything else that fails: damage; the index does not open.
#pragma once

#include <cstddef>
#include <cstdint>

#include "db/segment_format.h"

namespace orvia::db {

inline constexpr size_t kLogEntryHeaderSize = 16;
inline constexpr size_t kLogHeaderCrcOffset = 12;
inline constexpr size_t kDeleteEntrySize = 24;
inline constexpr size_t kInsertEntryFixedSize = 48;
inline constexpr size_t kMaxLogEntrySize = kInsertEntryFixedSize + kMaxStringAreaSize;
inline constexpr uint8_t kLogInsert = 1;
inline constexpr uint8_t kLogDelete = 2;

}  // namespace orvia::db
