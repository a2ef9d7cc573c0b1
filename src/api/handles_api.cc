#include "api/guard.h"
#include "dict/dictionary.h"

extern "C" {

HDICT* ORVIADIC_API dicCreateHDICT(uint32_t dictId) {
  return orvia::api::guarded<HDICT*>(nullptr,
                                     [&] { return orvia::dict::createDictionary(dictId); });
}

int32_t ORVIADIC_API dicFreeHDICT(HDICT* dict) {
  return orvia::api::guarded(0, [&] { return orvia::dict::freeDictionary(dict); });
}

}  // extern "C"
