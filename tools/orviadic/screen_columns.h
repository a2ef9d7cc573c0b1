// UTF-8 text laid out in screen columns, where a Chinese, Japanese or Korean character
// takes two columns and its UTF-8 bytes are three.
#pragma once

#include <string>

namespace orviadic {

// The text for a field of exactly columns screen columns: cut after the last whole
// character that fits, and padded with spaces. Widths are those of wcwidth under the
// current locale, which curses places characters by; a byte that does not decode, or a
// character without a width, takes one column and shows as "?".
std::string fitColumns(const std::string& utf8, int columns);

}  // namespace orviadic
