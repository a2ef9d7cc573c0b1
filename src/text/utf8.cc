#include "text/utf8.h"

namespace orvia::text {

size_t utf8Character(std::string_view text, uint32_t* codePoint) {
  const auto byte = [&](size_t i) { return uint8_t(text[i]); };
  const uint8_t lead = byte(0);
  size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 ? 2 : 0;
  if (length == 0 || lead > 0xF4 || length > text.size()) return 0;
  uint32_t value = length == 1 ? lead : lead & (0x7F >> length);
  for (size_t i = 1; i < length; ++i) {
    if ((byte(i) & 0xC0) != 0x80) return 0;
    value = value << 6 | (byte(i) & 0x3F);
  }
  static constexpr uint32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
  if (value < kSmallest[length] || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
    return 0;
  *codePoint = value;
  return length;
}

void appendUtf8(uint32_t codePoint, std::string* out) {
  if (codePoint < 0x80) {
    *out += char(codePoint);
    return;
  }
  const int trailing = codePoint < 0x800 ? 1 : codePoint < 0x10000 ? 2 : 3;
  static constexpr uint8_t kLead[] = {0, 0xC0, 0xE0, 0xF0};
  *out += char(kLead[trailing] | (codePoint >> (6 * trailing)));
  for (int i = trailing - 1; i >= 0; --i) *out += char(0x80 | ((codePoint >> (6 * i)) & 0x3F));
}

}  // namespace orvia::text
