#include "edit/string_area.h"

#include <cstring>

namespace orvia::edit {
namespace {

// Copies a string and its NUL to out + at; the offset after it.
uint32_t appendString(const char* text, uint32_t length, char* out, uint32_t at) {
  std::memcpy(out + at, text, length);
  out[at + length] = '\0';
  return at + length + 1;
}

}  // namespace

StringArea recordStringArea(const dict::IndexRecordView& view, char* out) {
  uint32_t length = appendString(view.searchKey, view.searchKeyLength, out, 0);
  length = appendString(view.headword, view.headwordLength, out, length);
  length = appendString(view.displayWord, view.displayWordLength, out, length);
  return {out, length};
}

StringArea keyStringArea(const char* key, uint32_t language) {
  uint32_t length = 0;
  for (int string = 0; string < 3; ++string) length += uint32_t(std::strlen(key + length)) + 1;
  // The single-byte English key maker leaves the record's vcode behind the strings.
  if (language == 1) ++length;
  return {key, length};
}

}  // namespace orvia::edit
