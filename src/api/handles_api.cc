#include "api/guard.h"
#include "dict/dict_id.h"
#include "dict/dictionary.h"

using orvia::api::guarded;

extern "C" {

HDICT* ORVIADIC_API dicCreateHDICT(uint32_t dictId) {
  return guarded<HDICT*>(nullptr, [&]() -> HDICT* {
    if (!orvia::dict::isValidDictId(dictId)) return nullptr;
    HDICT* dict = nullptr;
    return orvia::dict::createDictionary(dictId, &dict).ok() ? dict : nullptr;
  });
}

int32_t ORVIADIC_API dicFreeHDICT(HDICT* dict) {
  return guarded(0, [&] { return dict != nullptr && orvia::dict::freeDictionary(dict).ok(); });
}

}  // extern "C"
