// The string areas the writers hand to the record store: a key followed by two more
// strings, each with its NUL, and in language-1 records a trailing vcode byte.
#pragma once

#include <cstdint>

#include "dict/index_record.h"

namespace orvia::edit {

struct StringArea {
  const char* data = nullptr;
  uint32_t length = 0;  // bytes, every NUL (and the vcode byte) included
};

// The three strings of a parsed index record, copied into out, which holds
// dict::kMaxIndexRecordSize bytes: a record whose strings run to its end still gives
// three terminated strings.
StringArea recordStringArea(const dict::IndexRecordView& view, char* out);

// The area makeSearchKey left in key: its three strings and, for language 1, the vcode
// byte behind them.
StringArea keyStringArea(const char* key, uint32_t language);

}  // namespace orvia::edit
