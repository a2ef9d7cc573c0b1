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

}  // namespace orvia::compile
