// A dictionary's keys in key order, read window by window through the list functions, as
// any program that loads the library reads them.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "orviadic.h"

namespace orviadic::match {

class KeyWindows {
 public:
  // The keys of records first to first + count - 1, fewer where the index ends before.
  KeyWindows(HDICT* dict, uint32_t first, uint32_t count);

  // The next key and its record number; false at the end. A list that fails ends the
  // keys there. The key stays valid until the next call.
  bool next(uint32_t* record, std::string_view* key);

 private:
  bool fetch();

  HDICT* dict_;
  uint32_t end_;         // one past the last record to read
  uint32_t nextRecord_;  // the record the next key belongs to
  uint32_t left_ = 0;    // keys of the current window not yet handed out
  const char* at_ = nullptr;
  std::vector<char> buffer_;
};

// The number of records, which bounds every pass over the keys.
uint32_t recordCount(HDICT* dict);

}  // namespace orviadic::match
