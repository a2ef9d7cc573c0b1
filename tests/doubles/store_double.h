// A record store double behind the thirteen store operations: it opens any existing
// file, remembers what it was given, and can be told to refuse closing.
#pragma once

#include <string>
#include <vector>

#include "orviadb.h"

namespace orvia::testing {

struct StoreDouble {
  std::vector<std::string> openedPaths;
  std::vector<DbCompareFn> compares;
  int openHandles = 0;
  bool refuseClose = false;

  static StoreDouble& instance();
  void reset() { *this = StoreDouble(); }
};

}  // namespace orvia::testing
