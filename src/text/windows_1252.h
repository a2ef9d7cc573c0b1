// The Western code page, built in. Every dictionary of the Western languages converts
// through it, on every lookup, and a table costs nothing to set up, where a converter
// opened through iconv loads a module and allocates its buffers each time.
#pragma once

#include <cstdint>

namespace orvia::text::windows1252 {

// The code point of a byte; false for the five bytes the code page leaves undefined.
bool toCodePoint(uint8_t byte, uint32_t* codePoint);
// The byte of a code point; false when the code page has none for it.
bool fromCodePoint(uint32_t codePoint, uint8_t* byte);

}  // namespace orvia::text::windows1252
