// A record store double behind the store operations the dictionary code calls. Indexes
// live in memory, keyed by path, as sorted vectors with the real store's cursor rules;
// any other existing file opens as an empty index. It remembers what it opened and can be
// told to refuse closing or to fail chosen operations.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "orviadb.h"

namespace orvia::testing {

// One record as the store keeps it: the string area and the two content fields.
struct StoredRecord {
  uint32_t contentDictId = 0;
  uint32_t contentRef = 0;
  std::string data;  // string area
};

struct StoreDouble {
  std::map<std::string, std::vector<StoredRecord>> indexes;
  std::map<std::string, std::map<uint32_t, std::string>> contentNames;  // dbGetData's answers
  std::vector<std::string> openedPaths;
  std::vector<DbCompareFn> compares;  // as each open was given it
  int openHandles = 0;
  bool refuseClose = false;
  // Operations fail from their Nth call on (1 = the next call); 0 never.
  uint32_t failPrevFrom = 0, failSearchFrom = 0, failGetDataFrom = 0;

  static StoreDouble& instance();
  void reset() { *this = StoreDouble(); }
  // Puts records into the index at path in key order, new ones before their equals.
  void load(const std::string& path, DbCompareFn compare, const std::vector<StoredRecord>& records);
};

}  // namespace orvia::testing
