// Strings whose terminator is the last readable byte before a page the process may not
// touch, so that any read past it faults in every build, sanitized or not.
#pragma once

#include <cstring>
#include <optional>
#include <string>

#include "support/read_only_page.h"

namespace orvia::testing {

class TextAtPageEnd {
 public:
  TextAtPageEnd() : pages_(PageAccess::kNone) {}

  // A copy of text and its terminator ending at the guard page, the bytes before standing
  // right before it; null stays null. Valid until the next call. REQUIRES: before, text
  // and its terminator fit in a page.
  const char* place(const std::optional<std::string>& text, const std::string& before = {}) {
    if (!text) return nullptr;
    char* start = pages_.second() - text->size() - 1;
    std::memcpy(start, text->c_str(), text->size() + 1);
    std::memcpy(start - before.size(), before.data(), before.size());
    return start;
  }
  // size bytes of value ending at the guard page, for an output buffer.
  char* fill(size_t size, char value) {
    char* start = pages_.second() - size;
    std::memset(start, value, size);
    return start;
  }

 private:
  GuardedPages pages_;
};

}  // namespace orvia::testing
