// GCIDE's index compiled once per benchmark run, installed in a private registry and
// opened through the library's exports.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "orviadic.h"

namespace orvia::bench {

struct GcideFixture {
  HDICT* dict = nullptr;
  std::string indexPath;
  std::vector<std::string> searchKeys;  // in key order
};

// Null when the dict-gcide package is not installed.
const GcideFixture* gcide();

// An index of count records with six-letter keys in a private folder, opened through the
// exports; built once per count.
HDICT* syntheticDictionary(uint32_t count);

}  // namespace orvia::bench
