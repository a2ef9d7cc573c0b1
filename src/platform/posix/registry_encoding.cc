#include "platform/posix/registry_encoding.h"

#include <cstdint>

namespace orvia::platform::regtext {
namespace {

void appendUtf8(uint32_t c, std::string* out) {
  if (c < 0x80) {
    *out += char(c);
  } else if (c < 0x800) {
    *out += char(0xC0 | (c >> 6));
    *out += char(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    *out += char(0xE0 | (c >> 12));
    *out += char(0x80 | ((c >> 6) & 0x3F));
    *out += char(0x80 | (c & 0x3F));
  } else {
    *out += char(0xF0 | (c >> 18));
    *out += char(0x80 | ((c >> 12) & 0x3F));
    *out += char(0x80 | ((c >> 6) & 0x3F));
    *out += char(0x80 | (c & 0x3F));
  }
}

void appendUnit(uint32_t unit, std::string* out) {
  *out += char(unit & 0xFF);
  *out += char(unit >> 8);
}

bool isHighSurrogate(uint32_t u) {
  return u >= 0xD800 && u <= 0xDBFF;
}
bool isLowSurrogate(uint32_t u) {
  return u >= 0xDC00 && u <= 0xDFFF;
}

// The code point of the UTF-8 sequence at text[*pos], advancing *pos; nullopt for a
// malformed, overlong or out-of-range sequence.
std::optional<uint32_t> nextCodePoint(const std::string& text, size_t* pos) {
  auto byte = [&](size_t i) { return uint32_t(static_cast<unsigned char>(text[i])); };
  uint32_t lead = byte(*pos);
  size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 0;
  if (length == 0 || lead > 0xF4 || *pos + length > text.size()) return std::nullopt;
  static constexpr uint32_t kLeadMask[] = {0, 0x7F, 0x1F, 0x0F, 0x07};
  static constexpr uint32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
  uint32_t c = lead & kLeadMask[length];
  for (size_t i = 1; i < length; ++i) {
    uint32_t next = byte(*pos + i);
    if ((next & 0xC0) != 0x80) return std::nullopt;
    c = (c << 6) | (next & 0x3F);
  }
  if (c < kSmallest[length] || c > 0x10FFFF) return std::nullopt;
  *pos += length;
  return c;
}

}  // namespace

bool isUtf16le(const std::string& bytes) {
  return bytes.size() >= 2 && bytes[0] == '\xFF' && bytes[1] == '\xFE';
}

std::optional<std::string> utf8FromUtf16le(const std::string& bytes) {
  if (bytes.size() % 2 != 0) return std::nullopt;
  auto unitAt = [&](size_t i) {
    return uint32_t(static_cast<unsigned char>(bytes[i])) |
           uint32_t(static_cast<unsigned char>(bytes[i + 1])) << 8;
  };
  std::string text;
  text.reserve(bytes.size());
  for (size_t i = 0; i < bytes.size(); i += 2) {
    uint32_t unit = unitAt(i);
    if (isHighSurrogate(unit) && i + 2 < bytes.size() && isLowSurrogate(unitAt(i + 2))) {
      appendUtf8(0x10000 + ((unit - 0xD800) << 10) + (unitAt(i + 2) - 0xDC00), &text);
      i += 2;
    } else {
      appendUtf8(unit, &text);
    }
  }
  return text;
}

std::optional<std::string> utf16leFromUtf8(const std::string& text) {
  std::string bytes;
  bytes.reserve(text.size() * 2);
  for (size_t pos = 0; pos < text.size();) {
    auto c = nextCodePoint(text, &pos);
    if (!c) return std::nullopt;
    if (*c >= 0x10000) {
      appendUnit(0xD800 + ((*c - 0x10000) >> 10), &bytes);
      appendUnit(0xDC00 + ((*c - 0x10000) & 0x3FF), &bytes);
    } else {
      appendUnit(*c, &bytes);
    }
  }
  return bytes;
}

}  // namespace orvia::platform::regtext
