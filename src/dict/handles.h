// The two handles the library hands out. Both are process-heap blocks owned by the
// caller; the exports check them, and everything below the exports takes them valid.
#pragma once

#include <cstdint>

#include "orviadb.h"
#include "orviadic.h"

// An open dictionary: the id it was opened for and its open index (null when closed).
struct HDICT {
  uint32_t dictId;
  DBHANDLE db;
};

// A found word: record is an owned process-heap copy of one index record, in a block of
// dict::kRecordBlockSize bytes (the record and the zero behind it);
// dict is not owned and must stay open while the word lives.
struct HWORD {
  HDICT* dict;
  uint8_t* record;
};
