#include "compile/index/code_page.h"

#include <iconv.h>

#include <cerrno>
#include <cstdint>

namespace orvia::compile {
namespace {

const iconv_t kNoDescriptor = reinterpret_cast<iconv_t>(-1);

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

CodePageConverter::CodePageConverter(const char* codePage)
    : descriptor_(iconv_open(codePage, "UTF-8")) {}

CodePageConverter::~CodePageConverter() {
  if (valid()) iconv_close(static_cast<iconv_t>(descriptor_));
}

bool CodePageConverter::valid() const {
  return static_cast<iconv_t>(descriptor_) != kNoDescriptor;
}

bool CodePageConverter::convert(std::string_view utf8, std::string* out) {
  out->clear();
  if (!valid() || utf8.find('\0') != std::string_view::npos) return false;
  iconv_t cd = static_cast<iconv_t>(descriptor_);
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  // No code page takes more than four bytes for one character, and UTF-8 takes at
  // least one.
  out->resize(utf8.size() * 4 + 4);
  char* in = const_cast<char*>(utf8.data());
  size_t inLeft = utf8.size();
  char* to = out->data();
  size_t toLeft = out->size();
  if (iconv(cd, &in, &inLeft, &to, &toLeft) == size_t(-1)) return false;
  if (iconv(cd, nullptr, nullptr, &to, &toLeft) == size_t(-1)) return false;
  out->resize(out->size() - toLeft);
  return true;
}

}  // namespace orvia::compile
