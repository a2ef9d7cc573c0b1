// The new-word merge: a new-word file applied to the dictionary it names (T). The file is
// unpacked into T's new-word companion, whose records are then taken in key order: each
// is listed in T's new-word list and, when T lacks its key or holds it at a lower level,
// merged: its content appended to T's data file (or, in server data mode, its locator
// taken from the shared index), its record inserted into T's index and, for T of kinds
// 0x01 to 0x7F, into the installed dictionary's, where a record the user had added for
// the key becomes a note. At the end T's registry version and time are raised to the
// file's when they were lower.
#pragma once

#include <cstdint>

#include "base/result.h"
#include "update/merge_progress.h"

namespace orvia::update {

struct MergeCounts {
  uint32_t total = 0;    // records of the file
  uint32_t merged = 0;   // inserted into T
  uint32_t skipped = 0;  // already in T at the same or a higher level
  uint32_t moved = 0;    // user records turned into notes
};

// 1 in the export when the result is kOk. Failures, by when they happen:
// - before anything is written: a null or empty path, a file that is missing or breaks
//   a rule of its format (kReadFailed), a target of kind 0x80, which is its own new-word
//   companion (kInvalidId);
// - before any record, with only the companion's files and an empty list written: the
//   extraction's causes, and openMergeFiles';
// - at a record, every record before it merged: the list cannot be written
//   (kWriteFailed), a lookup fails (kStoreFailed), the shared index lacks the key
//   (kFileMissing), the record would pass 1,024 bytes in the extended form (kNoRoom), its
//   content cannot be copied (copyContentRecord's causes), an insert or a user record's
//   move fails.
// Nothing is reported after a failure, and the registry is then unchanged.
// counts, when not null, tells how far the merge came.
Status mergeNewWordFile(const char* path, const MergeProgress& progress,
                        MergeCounts* counts = nullptr);

}  // namespace orvia::update
