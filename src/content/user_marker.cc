#include "content/user_marker.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

#include "platform/platform.h"

namespace orvia::content {
namespace {

struct MarkerLine {
  const char* bytes;
  uint32_t size;
};

template <size_t N>
constexpr MarkerLine line(const char (&bytes)[N]) {
  return {bytes, uint32_t(N - 1)};
}

constexpr char kAsciiMarker[] = "\r\n~J[User-defined]";
constexpr char kGbkMarker[] = "\r\n~I[\xD7\xD4\xBD\xA8\xD7\xD6]";
constexpr char kBig5Marker[] = "\r\n~I[\xA6\xDB\xAB\xD8\xA6\x72]";
constexpr char kShiftJisMarker[] =
    "\r\n~I[\x83\x86\x81\x5B\x83\x55\x81\x5B\x83\x8F\x81\x5B\x83\x68]";
constexpr char kEucKrMarker[] = "\r\n~I[\xC3\xDF\xB0\xA1\xB3\xB9\xB8\xBB]";

bool markerLine(uint32_t code, MarkerLine* marker) {
  static constexpr MarkerLine kLines[] = {line(kAsciiMarker), line(kGbkMarker), line(kBig5Marker),
                                          line(kShiftJisMarker), line(kEucKrMarker)};
  if (code < 1 || code > 5) return false;
  *marker = kLines[code - 1];
  return true;
}

bool tagAt(const char* text, uint32_t length, uint32_t i) {
  return i + 3 < length && text[i] == '\r' && text[i + 1] == '\n' && text[i + 2] == '~';
}

}  // namespace

uint32_t insertUserMarker(char** text, uint32_t length, uint32_t markerCode, uint32_t* capacity) {
  if (text == nullptr || *text == nullptr || capacity == nullptr) return 0;
  MarkerLine marker;
  if (!markerLine(markerCode, &marker)) return length;
  if (length > 0xFFFFFFFEu - marker.size) return 0;
  const uint32_t newLength = length + marker.size;
  if (newLength >= *capacity) {
    *capacity = newLength + 1;
    void* grown = platform::heapReAlloc(platform::processHeap(), *text, newLength + 1);
    if (grown == nullptr) {
      *capacity = 0;
      return 0;
    }
    *text = static_cast<char*>(grown);
  }
  char* t = *text;
  uint32_t lineEnd = 0;
  while (lineEnd + 1 < length && !(t[lineEnd] == '\r' && t[lineEnd + 1] == '\n')) ++lineEnd;
  if (lineEnd + 1 >= length) return 0;
  std::memmove(t + lineEnd + marker.size, t + lineEnd, length - lineEnd);
  std::memcpy(t + lineEnd, marker.bytes, marker.size);
  t[newLength] = 0;
  if (markerCode == 1) {
    for (uint32_t i = 0; i < newLength; ++i) {
      if (tagAt(t, newLength, i) && t[i + 3] == 'I') t[i + 3] = 'J';
    }
  }
  return newLength;
}

uint32_t removeUserMarker(char* text, uint32_t length, uint32_t markerCode) {
  MarkerLine marker;
  if (text == nullptr || !markerLine(markerCode, &marker)) return length;
  char* end = text + length;
  char* found = std::search(text, end, marker.bytes, marker.bytes + marker.size);
  if (found == end) return length;
  const uint32_t at = uint32_t(found - text);
  const uint32_t newLength = length - marker.size;
  std::memmove(text + at, text + at + marker.size, length - at - marker.size);
  text[newLength] = 0;
  for (uint32_t i = 0; i < newLength; ++i) {
    if (!tagAt(text, newLength, i)) continue;
    // A zero byte after the tilde is left as it is, inside the text as at its end.
    char tag = text[i + 3];
    if (tag != 'A' && tag != '!' && tag != '\0') text[i + 3] = 'I';
  }
  return newLength;
}

}  // namespace orvia::content
