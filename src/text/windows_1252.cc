#include "text/windows_1252.h"

namespace orvia::text::windows1252 {
namespace {

// Bytes 0x80 to 0x9F, where the code page parts from Latin-1; 0 where it defines nothing.
// Every other byte is the code point of the same value.
constexpr uint16_t kHighControls[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 0x80
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,       // 0x88
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 0x90
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,  // 0x98
};

bool isHighControl(uint32_t value) {
  return value >= 0x80 && value < 0xA0;
}

}  // namespace

bool toCodePoint(uint8_t byte, uint32_t* codePoint) {
  *codePoint = isHighControl(byte) ? kHighControls[byte - 0x80] : byte;
  return *codePoint != 0 || byte == 0;
}

bool fromCodePoint(uint32_t codePoint, uint8_t* byte) {
  if (codePoint < 0x100 && !isHighControl(codePoint)) {
    *byte = uint8_t(codePoint);
    return true;
  }
  for (uint8_t i = 0; i < 32; ++i) {
    if (kHighControls[i] != 0 && kHighControls[i] == codePoint) {
      *byte = uint8_t(0x80 + i);
      return true;
    }
  }
  return false;
}

}  // namespace orvia::text::windows1252
