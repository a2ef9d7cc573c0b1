// The frame of every export: nothing runs when the module failed to load, and no
// exception leaves the library. Below the exports every function takes valid
// arguments: the checks here are the only ones.
#pragma once

#include <cstdint>

#include "dict/config.h"
#include "dict/handles.h"

namespace orvia::api {

template <typename Result, typename Body>
Result guarded(Result failure, Body body) noexcept {
  if (!dict::moduleState().loaded) return failure;
  try {
    return body();
  } catch (...) {
    return failure;
  }
}

// The length of a caller's terminated text, found without reading past what the process
// may read: false when the text is null or no terminator is met before unreadable memory
// (or 4 GiB).
bool readableTextLength(const char* text, uint32_t* length);

// A word handle the lower layers can read: not null, with its record copy.
inline bool hasRecord(const HWORD* word) {
  return word != nullptr && word->record != nullptr;
}

}  // namespace orvia::api
