// Windows of the word list, packed for a list display.
//   key list:   per entry, byte 3 of contentDictId, the key, a zero byte
//   word list:  the same with the word
//   vcode list: per entry, the key and then the record's last byte, no separator
// Every list ends with one zero byte. A list stops at the first entry that does not
// fit; it never reports the size it would have needed.
#pragma once

#include <cstdint>

#include "dict/dictionary.h"

namespace orvia::dict {

enum class ListKind { kKeys, kWords, kKeyVcodes };

// Fills buffer with up to count entries from record start on. Returns the number of
// entries, also stored through entries; for kKeyVcodes the bytes written before the
// final zero are stored through bytes. Unwritable pointers are never written.
uint32_t fetchWordList(ListKind kind, HDICT* dict, uint32_t start, uint32_t count, char* buffer,
                       uint32_t size, uint32_t* entries, uint32_t* bytes);

}  // namespace orvia::dict
