// An entry's text made readable: the library hands out lines separated by CR LF, the
// first holding the headword, tagged lines ("~" and a letter) and the end marker "~!";
// characters the dictionary's code page lacks are stored as "&#x" hex digits ";".
#pragma once

#include <string>

namespace orvia::text {

// Character references "&#xHEX;" in UTF-8 text made the characters they name. One that
// names no character (a surrogate, zero, past U+10FFFF, malformed) is left as written.
std::string decodeCharacterReferences(const std::string& utf8);

// The UTF-8 text with LF line ends, the end marker and trailing empty lines dropped,
// character references decoded and tagged lines shown by their meaning:
//   ~J[User-defined] or ~I[label]   the user-word marker, shown as "(label)"
//   ~A text                         a note of the user's, shown as "Note: text"
//   ~X text, any other letter       shown as "[X] text"
std::string renderEntry(const std::string& utf8);

}  // namespace orvia::text
