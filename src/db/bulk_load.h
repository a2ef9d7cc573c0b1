// Writing a new index file: empty, or from records already in order.
#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "db/record_view.h"
#include "orviadb.h"

namespace orvia::db {

// Writes a new index at path holding `count` records given back to back in the dbSearch
// layout (number fields ignored). False, and no file left behind, when path exists, a
// record is malformed, the records do not fill recordBytes exactly, or compare puts two
// neighbours out of order. compare may be null when there are fewer than two records.
// Makes two syncs: the segment, then the header that puts it in force.
bool bulkLoad(const std::string& path, DbCompareFn compare, const uint8_t* records,
              uint64_t recordBytes, uint32_t count, const std::map<uint32_t, ContentName>& names);

}  // namespace orvia::db
