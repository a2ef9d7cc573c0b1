// The frame of every export: nothing runs when the module failed to load, and no
// exception leaves the library.
#pragma once

#include "dict/config.h"

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

}  // namespace orvia::api
