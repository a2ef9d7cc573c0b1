// Case-table fields that give a read's outcome: what it yields (a text, a size) when it
// succeeds, or else the name of its cause ("NoRoom" for Cause::kNoRoom).
#pragma once

#include <algorithm>
#include <iterator>
#include <string>

#include "base/result.h"

namespace orvia::content {

// The cause a field names; kOk for any other field.
inline Cause outcomeCause(const std::string& field) {
  const char* const kNames[] = {"Ok",         "InvalidId", "NotConfigured", "FileMissing",
                                "NotAnIndex", "Empty",     "StoreFailed",   "ReadFailed",
                                "Damaged",    "Truncated", "NoRoom",        "OutOfMemory"};
  const auto named = std::find(std::begin(kNames), std::end(kNames), field);
  return named == std::end(kNames) ? Cause::kOk : Cause(named - std::begin(kNames));
}

}  // namespace orvia::content
