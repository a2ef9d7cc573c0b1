#include "text/code_page.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "text/utf8.h"
#include "text/windows_1252.h"

namespace orvia::text {
namespace {

// iconv_open's failure value is the address -1.
const iconv_t kNoDescriptor = reinterpret_cast<iconv_t>(-1);  // NOLINT(performance-no-int-to-ptr)

constexpr char kWindows1252[] = "WINDOWS-1252";

// Unicode's invisible language tags, which iconv drops from a text on its way into a code
// page; the built-in table drops them as well, so that every code page sees the same text.
bool isLanguageTag(uint32_t codePoint) {
  return codePoint >= 0xE0000 && codePoint <= 0xE007F;
}

void appendReference(uint32_t codePoint, std::string* out) {
  char reference[16];
  std::snprintf(reference, sizeof reference, "&#x%X;", codePoint);
  *out += reference;
}

}  // namespace

const char* codePageName(uint32_t languageCode) {
  switch (languageCode) {
    case 1:
    case 6:
    case 7:
    case 8:
    case 9:
      return kWindows1252;
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
    : direction_(direction),
      western_(std::strcmp(codePage, kWindows1252) == 0),
      descriptor_(western_                              ? kNoDescriptor
                  : direction == Direction::kToCodePage ? iconv_open(codePage, "UTF-8")
                                                        : iconv_open("UTF-8", codePage)) {}

CodePageConverter::~CodePageConverter() {
  if (static_cast<iconv_t>(descriptor_) != kNoDescriptor)
    iconv_close(static_cast<iconv_t>(descriptor_));
}

bool CodePageConverter::valid() const {
  return western_ || static_cast<iconv_t>(descriptor_) != kNoDescriptor;
}

bool CodePageConverter::convertWestern(std::string_view text, bool replacing,
                                       std::string* out) const {
  out->reserve(text.size());
  if (direction_ == Direction::kToUtf8) {
    for (char c : text) {
      uint32_t codePoint = 0;
      if (!windows1252::toCodePoint(uint8_t(c), &codePoint)) return false;
      appendUtf8(codePoint, out);
    }
    return true;
  }
  while (!text.empty()) {
    uint32_t codePoint = 0;
    size_t length = utf8Character(text, &codePoint);
    uint8_t byte = 0;
    if (length == 0 || codePoint == 0) {
      if (!replacing) return false;
      *out += '?';
      length = 1;
    } else if (windows1252::fromCodePoint(codePoint, &byte)) {
      *out += char(byte);
    } else if (!isLanguageTag(codePoint)) {
      if (!replacing) return false;
      appendReference(codePoint, out);
    }
    text.remove_prefix(length);
  }
  return true;
}

bool CodePageConverter::convert(std::string_view text, std::string* out) {
  out->clear();
  if (!valid() || text.find('\0') != std::string_view::npos) return false;
  if (western_) return convertWestern(text, false, out);
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
  if (western_) return convertWestern(text, true, out);
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
      appendReference(codePoint, out);
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
