#include "api/guard.h"
#include "dict/search.h"

using orvia::api::guarded;
using orvia::api::hasRecord;
using orvia::dict::WordText;

namespace {

int32_t copyText(HWORD* word, WordText which, char* buffer, uint32_t size) {
  if (!orvia::platform::isWritable(buffer, size) || !hasRecord(word)) return 0;
  return orvia::dict::copyWordText(word, which, buffer, size).ok();
}

}  // namespace

extern "C" {

HWORD* ORVIADIC_API dicSearchWord(HDICT* dict, const char* word) {
  return guarded<HWORD*>(nullptr, [&]() -> HWORD* {
    if (dict == nullptr || word == nullptr) return nullptr;
    HWORD* found = nullptr;
    return orvia::dict::searchWord(dict, word, &found).ok() ? found : nullptr;
  });
}

HWORD* ORVIADIC_API dicSearchRecord(HDICT* dict, uint32_t n) {
  return guarded<HWORD*>(nullptr, [&]() -> HWORD* {
    if (dict == nullptr) return nullptr;
    HWORD* found = nullptr;
    return orvia::dict::searchRecord(dict, n, &found).ok() ? found : nullptr;
  });
}

int32_t ORVIADIC_API dicFreeHWORD(HWORD* word) {
  return guarded(0, [&] { return word != nullptr && orvia::dict::freeWord(word).ok(); });
}

HWORD* ORVIADIC_API dicDuplicateHWORD(HWORD* word) {
  return guarded<HWORD*>(nullptr, [&]() -> HWORD* {
    if (!hasRecord(word)) return nullptr;
    HWORD* copy = nullptr;
    return orvia::dict::duplicateWord(word, &copy).ok() ? copy : nullptr;
  });
}

uint32_t ORVIADIC_API dicGetKeySize(HWORD* word) {
  return guarded(
      0u, [&] { return hasRecord(word) ? orvia::dict::wordTextSize(word, WordText::kKey) : 0u; });
}

int32_t ORVIADIC_API dicGetKey(HWORD* word, char* buffer, uint32_t size) {
  return guarded(0, [&] { return copyText(word, WordText::kKey, buffer, size); });
}

uint32_t ORVIADIC_API dicGetWordSize(HWORD* word) {
  return guarded(
      0u, [&] { return hasRecord(word) ? orvia::dict::wordTextSize(word, WordText::kWord) : 0u; });
}

int32_t ORVIADIC_API dicGetWord(HWORD* word, char* buffer, uint32_t size) {
  return guarded(0, [&] { return copyText(word, WordText::kWord, buffer, size); });
}

int32_t ORVIADIC_API dicIsExistWord(HDICT* dict, const char* word) {
  return guarded(
      0, [&] { return dict != nullptr && word != nullptr && orvia::dict::wordExists(dict, word); });
}

}  // extern "C"
