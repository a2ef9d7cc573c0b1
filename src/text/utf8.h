// UTF-8 sequences, one character at a time.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace orvia::text {

// The length and code point of the UTF-8 character at the start of text; 0 when the
// bytes there are not one (cut short, overlong, a surrogate, past U+10FFFF).
// REQUIRES: text is not empty.
size_t utf8Character(std::string_view text, uint32_t* codePoint);

// Appends the UTF-8 bytes of a code point of at most U+10FFFF.
void appendUtf8(uint32_t codePoint, std::string* out);

}  // namespace orvia::text
