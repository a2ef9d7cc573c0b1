#include "api/guard.h"
#include "dict/search.h"

using orvia::api::guarded;

extern "C" {

HWORD* ORVIADIC_API dicSearchWord(HDICT* dict, const char* word) {
  return guarded<HWORD*>(nullptr, [&] { return orvia::dict::searchWord(dict, word); });
}

HWORD* ORVIADIC_API dicSearchRecord(HDICT* dict, uint32_t n) {
  return guarded<HWORD*>(nullptr, [&] { return orvia::dict::searchRecord(dict, n); });
}

int32_t ORVIADIC_API dicFreeHWORD(HWORD* word) {
  return guarded(0, [&] { return orvia::dict::freeWord(word); });
}

HWORD* ORVIADIC_API dicDuplicateHWORD(HWORD* word) {
  return guarded<HWORD*>(nullptr, [&] { return orvia::dict::duplicateWord(word); });
}

uint32_t ORVIADIC_API dicGetKeySize(HWORD* word) {
  return guarded(0u, [&] { return orvia::dict::wordKeySize(word); });
}

int32_t ORVIADIC_API dicGetKey(HWORD* word, char* buffer, uint32_t size) {
  return guarded(0, [&] { return orvia::dict::copyWordKey(word, buffer, size); });
}

uint32_t ORVIADIC_API dicGetWordSize(HWORD* word) {
  return guarded(0u, [&] { return orvia::dict::wordTextSize(word); });
}

int32_t ORVIADIC_API dicGetWord(HWORD* word, char* buffer, uint32_t size) {
  return guarded(0, [&] { return orvia::dict::copyWordText(word, buffer, size); });
}

int32_t ORVIADIC_API dicIsExistWord(HDICT* dict, const char* word) {
  return guarded(0, [&] { return dict == nullptr ? 0 : orvia::dict::wordExists(dict, word); });
}

}  // extern "C"
