// What the store's tests use of its engine beneath the C interface: a handle's cursor,
// without a line of it in the store itself, and model records as the engine takes them.
#pragma once

#include <cstdint>

#include "db/database.h"
#include "support/store_records.h"

namespace orvia::db {

struct DatabaseTestAccess {
  // Where the handle's cursor is: on a record when below the count.
  static uint32_t cursor(const Database& db) { return db.cursor_; }
};

inline NewRecord newRecordOf(const testing::ModelRecord& r) {
  return NewRecord{reinterpret_cast<const uint8_t*>(testing::kContentName), r.contentDictId,
                   r.contentRef, reinterpret_cast<const uint8_t*>(r.data.data()),
                   uint32_t(r.data.size())};
}

}  // namespace orvia::db
