// An entry's text made readable: the library hands out lines separated by CR LF, the
// first holding the headword, tagged lines ("~" and a letter) and the end marker "~!".
#pragma once

#include <string>

namespace orviadic {

// The UTF-8 text with LF line ends, the end marker dropped, the headword line emphasised
// when emphasis is on, and tagged lines shown by their meaning:
//   ~J[User-defined] or ~I[label]   the user-word marker, shown as "(label)"
//   ~A text                         a note of the user's, shown as "Note: text"
//   ~X text, any other letter       shown as "[X] text"
std::string renderEntry(const std::string& utf8, bool emphasis);

}  // namespace orviadic
