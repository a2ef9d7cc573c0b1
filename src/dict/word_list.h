// Windows of the word list, packed for a list display.
//   key list:   per entry, byte 3 of contentDictId, the key, a zero byte
//   word list:  the same with the word
//   vcode list: per entry, the key and then the record's last byte, no separator
// Every list ends with one zero byte. A list stops at the first entry that does not
// fit; it never reports the size it would have needed.
#pragma once

#include <cstdint>

#include "dict/handles.h"

namespace orvia::dict {

enum class ListKind { kKeys, kWords, kKeyVcodes };

// What a window filled: its entries, and the bytes before the final zero.
struct ListWindow {
  uint32_t entries = 0;
  uint32_t bytes = 0;
};

// The smallest buffer a list is made in: room for the final zero and more.
inline constexpr uint32_t kMinListSize = 3;

// Fills buffer with up to count entries of db from record start on, and the final zero.
// A read that fails ends the list with the entries written so far.
// REQUIRES: size >= kMinListSize, buffer writable for size bytes, count > 0.
ListWindow fetchWordList(ListKind kind, DBHANDLE db, uint32_t start, uint32_t count, char* buffer,
                         uint32_t size);

}  // namespace orvia::dict
