#include "screen_columns.h"

#include <algorithm>
#include <cwchar>

namespace orviadic {

std::string fitColumns(const std::string& utf8, int columns) {
  columns = std::max(columns, 0);
  std::string out;
  int used = 0;
  std::mbstate_t state{};
  for (size_t at = 0; at < utf8.size();) {
    wchar_t character = 0;
    const size_t length = std::mbrtowc(&character, utf8.data() + at, utf8.size() - at, &state);
    const bool decoded = length != size_t(-1) && length != size_t(-2) && length != 0;
    const int width = decoded ? ::wcwidth(character) : -1;
    if (width < 0) state = std::mbstate_t{};
    if (used + (width < 0 ? 1 : width) > columns) break;
    if (width < 0) {
      out += '?';
      used += 1;
      at += decoded ? length : 1;
    } else {
      out.append(utf8, at, length);
      used += width;
      at += length;
    }
  }
  out.append(size_t(columns - used), ' ');
  return out;
}

}  // namespace orviadic
