// Conversion between UTF-8 and the code page of a dictionary's language: the Western
// code page through a built-in table, the East Asian ones through iconv.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace orvia::text {

// The name of the code page of a language code, as iconv knows it; null for code 0 and
// codes of 10 or more, which have no code page.
const char* codePageName(uint32_t languageCode);

// Converts UTF-8 into one code page, or that code page back into UTF-8. Not copyable;
// one conversion at a time.
class CodePageConverter {
 public:
  enum class Direction { kToCodePage, kToUtf8 };
  explicit CodePageConverter(const char* codePage, Direction direction = Direction::kToCodePage);
  ~CodePageConverter();
  CodePageConverter(const CodePageConverter&) = delete;
  CodePageConverter& operator=(const CodePageConverter&) = delete;

  // False when the code page is unknown to iconv.
  bool valid() const;
  // False, out unspecified, when text is not valid in its encoding, holds a character the
  // other lacks, or holds a zero byte (index strings are zero-terminated).
  bool convert(std::string_view text, std::string* out);
  // Converts UTF-8 text whatever it holds: a character the code page lacks becomes
  // "&#x" and its hexadecimal code point and ";", a zero byte or a byte that is not
  // UTF-8 becomes "?". False only when the converter is not valid.
  // REQUIRES: the direction is kToCodePage.
  bool convertReplacing(std::string_view text, std::string* out);

 private:
  // The built-in table's conversion; replacing as convertReplacing does, or refusing.
  bool convertWestern(std::string_view text, bool replacing, std::string* out) const;

  Direction direction_;
  bool western_;
  void* descriptor_;  // iconv_t, for any other code page
};

}  // namespace orvia::text
