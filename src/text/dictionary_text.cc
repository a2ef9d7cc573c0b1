#include "text/dictionary_text.h"

#include "text/code_page.h"
#include "text/entry_text.h"
#include "text/key_fold.h"

namespace orvia::text {
namespace {

bool convert(uint32_t languageCode, CodePageConverter::Direction direction, const std::string& text,
             std::string* out) {
  const char* codePage = codePageName(languageCode);
  if (codePage == nullptr) {
    *out = text;
    return true;
  }
  CodePageConverter converter(codePage, direction);
  return converter.valid() && converter.convert(text, out);
}

}  // namespace

bool utf8ToCodePage(uint32_t languageCode, const std::string& utf8, std::string* out) {
  return convert(languageCode, CodePageConverter::Direction::kToCodePage, utf8, out);
}

bool codePageToUtf8(uint32_t languageCode, const std::string& text, std::string* out) {
  return convert(languageCode, CodePageConverter::Direction::kToUtf8, text, out);
}

std::string readableUtf8(uint32_t languageCode, const std::string& text) {
  std::string converted;
  if (codePageToUtf8(languageCode, text, &converted)) return converted;
  const char* codePage = codePageName(languageCode);
  if (codePage == nullptr) return text;
  CodePageConverter converter(codePage, CodePageConverter::Direction::kToUtf8);
  std::string out;
  for (char c : text)
    out += converter.valid() && converter.convert(std::string(1, c), &converted) ? converted : "?";
  return out;
}

bool searchWordOf(uint32_t languageCode, const std::string& utf8, std::string* out) {
  std::string converted;
  if (!utf8ToCodePage(languageCode, utf8, &converted)) return false;
  if (!keyWord(languageCode, converted, out)) *out = collapseWhiteSpace(converted);
  return true;
}

std::string readableEntry(uint32_t languageCode, const std::string& content) {
  return renderEntry(readableUtf8(languageCode, content));
}

}  // namespace orvia::text
