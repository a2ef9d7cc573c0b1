#include "text/code_page.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>

namespace orvia::text {
namespace {

// iconv_open's failure value is the address -1.
const iconv_t kNoDescriptor = reinterpret_cast<iconv_t>(-1);  // NOLINT(performance-no-int-to-ptr)

// The length and code point of the UTF-8 character at the start of text; 0 when the
// bytes there are not one.
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

}  // namespace

const char* codePageName(uint32_t languageCode) {
  switch (languageCode) {
    case 1:
    case 6:
    case 7:
    case 8:
    case 9:
      return "WINDOWS-1252";
    case 2:
      return "GB2312";
    case 3:
      return "BIG5";
    case 4:
      return "SHIFT_JIS";
    case 5:
      return "EUC-KR";
    default:
      return nullptr;
  }
}

CodePageConverter::CodePageConverter(const char* codePage, Direction direction)
    : descriptor_(direction == Direction::kToCodePage ? iconv_open(codePage, "UTF-8")
                                                      : iconv_open("UTF-8", codePage)) {}

CodePageConverter::~CodePageConverter() {
  if (valid()) iconv_close(static_cast<iconv_t>(descriptor_));
}

bool CodePageConverter::valid() const {
  return static_cast<iconv_t>(descriptor_) != kNoDescriptor;
}

bool CodePageConverter::convert(std::string_view text, std::string* out) {
  out->clear();
  if (!valid() || text.find('\0') != std::string_view::npos) return false;
  iconv_t cd = static_cast<iconv_t>(descriptor_);
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  // Neither side takes more than four bytes for a character the other writes in one.
  out->resize(text.size() * 4 + 4);
  char* in = const_cast<char*>(text.data());
  size_t inLeft = text.size();
  char* to = out->data();
  size_t toLeft = out->size();
  if (iconv(cd, &in, &inLeft, &to, &toLeft) == size_t(-1)) return false;
  if (iconv(cd, nullptr, nullptr, &to, &toLeft) == size_t(-1)) return false;
  out->resize(out->size() - toLeft);
  return true;
}

bool CodePageConverter::convertReplacing(std::string_view text, std::string* out) {
  out->clear();
  if (!valid()) return false;
  iconv_t cd = static_cast<iconv_t>(descriptor_);
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  std::string buffer(text.size() * 2 + 16, '\0');
  while (!text.empty()) {
    const size_t clean = std::min(text.find('\0'), text.size());
    char* in = const_cast<char*>(text.data());
    size_t inLeft = clean;
    char* to = buffer.data();
    size_t toLeft = buffer.size();
    const bool stopped = iconv(cd, &in, &inLeft, &to, &toLeft) == size_t(-1);
    out->append(buffer.data(), buffer.size() - toLeft);
    text.remove_prefix(clean - inLeft);
    if (stopped && errno == E2BIG) continue;
    if (text.empty()) break;
    uint32_t codePoint = 0;
    const size_t length = text[0] == '\0' ? 0 : utf8Character(text, &codePoint);
    if (length == 0) {
      *out += '?';
      text.remove_prefix(1);
    } else {
      char reference[16];
      std::snprintf(reference, sizeof reference, "&#x%X;", codePoint);
      *out += reference;
      text.remove_prefix(length);
    }
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
  }
  char* to = buffer.data();
  size_t toLeft = buffer.size();
  if (iconv(cd, nullptr, nullptr, &to, &toLeft) != size_t(-1))
    out->append(buffer.data(), buffer.size() - toLeft);
  return true;
}

}  // namespace orvia::text
