// The marker line that labels a content text as a user word: CR LF and a tag, chosen by
// the marker code (byte 1 of the dictionary id). Codes other than 1..5 have no marker
// line; both operations then leave the text as it is and return its length.
//   1  "~J[User-defined]"                       ASCII
//   2  "~I[" D7 D4 BD A8 D7 D6 "]"              GBK
//   3  "~I[" A6 DB AB D8 A6 72 "]"              Big5
//   4  "~I[" 83 86 81 5B 83 55 81 5B 83 8F 81 5B 83 68 "]"   Shift-JIS
//   5  "~I[" C3 DF B0 A1 B3 B9 B8 BB "]"        EUC-KR
// Texts are lines separated by CR LF; a line of '~' and a letter is tagged. Tags 'A'
// and '!' (the end marker) are never changed.
#pragma once

#include <cstdint>

namespace orvia::content {

// Puts the marker at the end of the first line. *text is a process-heap block of
// *capacity bytes, grown to the new length + 1 when too small (*capacity becomes 0 if
// that fails). For code 1 every "~I" line becomes "~J". Returns the new length, or 0
// for a text without CR LF or a failed reallocation.
uint32_t insertUserMarker(char** text, uint32_t length, uint32_t markerCode, uint32_t* capacity);

// Removes the first marker line of markerCode, then retags every tagged line other than
// 'A' and '!' as 'I'. Returns the new length; a text without the marker is untouched.
uint32_t removeUserMarker(char* text, uint32_t length, uint32_t markerCode);

}  // namespace orvia::content
