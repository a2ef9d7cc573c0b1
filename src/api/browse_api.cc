#include "api/guard.h"
#include "dict/browse.h"
#include "dict/word_list.h"

using orvia::api::guarded;
using orvia::dict::ListKind;

extern "C" {

uint32_t ORVIADIC_API dicGetWordCount(HDICT* dict) {
  return guarded(0u, [&] { return orvia::dict::wordCount(dict); });
}

int32_t ORVIADIC_API dicGetHandleInfo(HWORD* word, uint32_t what, uint32_t* out) {
  return guarded(0, [&] { return orvia::dict::handleInfo(word, what, out); });
}

int32_t ORVIADIC_API dicPrev(HWORD* word, uint32_t level) {
  return guarded(0, [&] { return orvia::dict::stepWord(word, level, false); });
}

int32_t ORVIADIC_API dicNext(HWORD* word, uint32_t level) {
  return guarded(0, [&] { return orvia::dict::stepWord(word, level, true); });
}

uint32_t ORVIADIC_API dicGetKeyList(HDICT* dict, uint32_t start, uint32_t count, char* buffer,
                                    uint32_t size, uint32_t* entries) {
  return guarded(0u, [&] {
    return orvia::dict::fetchWordList(ListKind::kKeys, dict, start, count, buffer, size, entries,
                                      nullptr);
  });
}

uint32_t ORVIADIC_API dicGetWordList(HDICT* dict, uint32_t start, uint32_t count, char* buffer,
                                     uint32_t size, uint32_t* entries) {
  return guarded(0u, [&] {
    return orvia::dict::fetchWordList(ListKind::kWords, dict, start, count, buffer, size, entries,
                                      nullptr);
  });
}

uint32_t ORVIADIC_API dicGetKeyVcodeList(HDICT* dict, uint32_t start, uint32_t count, char* buffer,
                                         uint32_t size, uint32_t* entries, uint32_t* bytes) {
  return guarded(0u, [&] {
    return orvia::dict::fetchWordList(ListKind::kKeyVcodes, dict, start, count, buffer, size,
                                      entries, bytes);
  });
}

}  // extern "C"
