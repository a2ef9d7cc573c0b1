// Strings whose terminator is the last readable byte before a page the process may not
// touch, so that any read past it faults in every build, sanitized or not.
#pragma once

#include <cstring>
#include <optional>
#include <string>

#include "support/read_only_page.h"

namespace orvia::testing {

class TextAtPageEnd : GuardedPages {
 public:
  TextAtPageEnd() : GuardedPages(PageAccess::kNone) {}

  // A copy of text and its terminator ending at the guard page, the bytes before standing
  // right before it; null stays null. Valid until the next call. REQUIRES: all of it fits
  // in a page. Also an output buffer: text of its size less one.
  char* place(const std::optional<std::string>& text, const std::string& before = {}) {
    if (!text) return nullptr;
    const std::string bytes = before + *text + '\0';
    std::memcpy(second() - bytes.size(), bytes.data(), bytes.size());
    return second() - text->size() - 1;
  }
};

}  // namespace orvia::testing
