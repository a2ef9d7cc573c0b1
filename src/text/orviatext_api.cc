// The C interface of libOrviaText: each function checks its pointers, makes the text with
// the functions the tool and the compiler use, and copies it only when it fits.
#include "orviatext.h"

#include <cstring>
#include <exception>
#include <string>

#include "text/dictionary_text.h"

#define ORVIATEXT_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

using orvia::text::languageOfDictId;

// Makes the text of in with make (false: it cannot be made) and hands it out as the
// header's conventions say.
template <typename Make>
int32_t handOut(const char* in, char* out, uint32_t size, Make make) {
  const bool measuring = out == nullptr && size == 0;
  if (out == nullptr && !measuring) return -1;
  if (!measuring && size > 0) out[0] = '\0';
  if (in == nullptr) return -1;
  std::string text;
  try {
    if (!make(std::string(in), &text)) return -1;
  } catch (const std::exception&) {  // out of memory
    return -1;
  }
  if (text.size() > INT32_MAX - 1) return -1;
  if (measuring) return int32_t(text.size());
  if (text.size() >= size) return -1;
  std::memcpy(out, text.c_str(), text.size() + 1);
  return int32_t(text.size());
}

}  // namespace

ORVIATEXT_EXPORT int32_t otxToCodePage(uint32_t dictId, const char* utf8, char* out,
                                       uint32_t size) {
  return handOut(utf8, out, size, [dictId](const std::string& in, std::string* text) {
    return orvia::text::utf8ToCodePage(languageOfDictId(dictId), in, text);
  });
}

ORVIATEXT_EXPORT int32_t otxToUtf8(uint32_t dictId, const char* text, char* out, uint32_t size) {
  return handOut(text, out, size, [dictId](const std::string& in, std::string* utf8) {
    return orvia::text::codePageToUtf8(languageOfDictId(dictId), in, utf8);
  });
}

ORVIATEXT_EXPORT int32_t otxSearchWord(uint32_t dictId, const char* utf8, char* out,
                                       uint32_t size) {
  return handOut(utf8, out, size, [dictId](const std::string& in, std::string* word) {
    return orvia::text::searchWordOf(languageOfDictId(dictId), in, word);
  });
}

ORVIATEXT_EXPORT int32_t otxEntryToUtf8(uint32_t dictId, const char* content, char* out,
                                        uint32_t size) {
  return handOut(content, out, size, [dictId](const std::string& in, std::string* utf8) {
    *utf8 = orvia::text::readableEntry(languageOfDictId(dictId), in);
    return true;
  });
}
