// A record store double behind the store operations the dictionary code calls. Indexes
// live in memory, keyed by path, as sorted vectors with the real store's cursor rules;
// any other existing file opens as an empty index. It can be told to refuse closing or to
// fail chosen operations, and its handles show what they were opened with. dbVerify checks
// that an index's records are whole and in the order of the compare it was given.
#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "orviadb.h"
#include "support/store_records.h"

namespace orvia::testing {

struct StoreDouble {
  std::map<std::string, std::vector<StoredRecord>> indexes;
  std::map<std::string, std::map<uint32_t, std::string>> contentNames;  // dbGetData's answers
  int opens = 0;                                                        // handles given out
  int openHandles = 0;                                                  // of them, not closed
  bool refuseClose = false;
  std::set<std::string> failing;  // operations that fail at every call
  // Counting the calls of every operation, every handle's and opening's together: the
  // Nth fails (1 = the next call); 0 never. calledOperations names them in order.
  uint32_t failCall = 0;
  std::vector<std::string> calledOperations;

  static StoreDouble& instance();
  void reset() { *this = StoreDouble(); }
  // Puts records into the index at path in key order, new ones before their equals.
  void load(const std::string& path, DbCompareFn compare, const std::vector<StoredRecord>& records);
  // Counts a call of operation; true when it is the one to fail.
  bool failsCall(const char* operation);
};

}  // namespace orvia::testing

// A handle: the index it was opened on, with the compare it was given, and its cursor.
struct OrviaDb {
  std::string path;
  DbCompareFn compare;
  uint32_t cursor = 0;

  std::vector<orvia::testing::StoredRecord>& records() const {
    return orvia::testing::StoreDouble::instance().indexes[path];
  }
  // The real store's cursor rule: no record n, no move.
  int32_t moveTo(uint64_t n) {
    if (n >= records().size()) return 0;
    cursor = uint32_t(n);
    return 1;
  }
};
