// Open dictionaries: the handle over an index database, and its opening and closing.
#pragma once

#include <cstdint>

#include "orviadb.h"
#include "orviadic.h"

// The exported handle: the id it was opened for and its open index (null when closed).
struct HDICT {
  uint32_t dictId;
  DBHANDLE db;
};

namespace orvia::dict {

// Opens id's index into target with its language's collation. target->dictId is set
// before id is checked; target->db is left alone when id is invalid.
int openDictionary(HDICT* target, uint32_t id);
// 1 when closed or already closed; 0 when the database refused (db keeps its value).
int closeDictionary(HDICT* dict);

// The exported create and free, over the process heap.
HDICT* createDictionary(uint32_t id);
int freeDictionary(HDICT* dict);

}  // namespace orvia::dict
