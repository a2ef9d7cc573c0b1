// What the store's tests see of a handle beyond its interface, without a line of it in
// the store itself.
#pragma once

#include <cstdint>

#include "db/database.h"

namespace orvia::db {

struct DatabaseTestAccess {
  // Where the handle's cursor is: on a record when below the count.
  static uint32_t cursor(const Database& db) { return db.cursor_; }
};

}  // namespace orvia::db
