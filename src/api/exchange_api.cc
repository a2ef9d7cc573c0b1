#include "api/guard.h"
#include "update/owner_word_export.h"
#include "update/owner_word_import.h"

using orvia::api::guarded;
using orvia::update::exchangeDictId;

extern "C" {

int32_t ORVIADIC_API dicExportOwnerWord(uint32_t dictId, char* path) {
  return guarded(0, [&] {
    uint32_t length = 0;
    if (!orvia::api::readableTextLength(path, &length) || length == 0) return 0;
    const uint32_t d = exchangeDictId(dictId);
    return d != 0 && orvia::update::exportOwnerWords(d, path).ok() ? 1 : 0;
  });
}

uint32_t ORVIADIC_API dicGetImportOwnerWordCount(uint32_t dictId, const char* path) {
  return guarded(0u, [&] {
    uint32_t length = 0, count = 0;
    if (!orvia::api::readableTextLength(path, &length)) return 0u;
    return orvia::update::countImportOwnerWords(exchangeDictId(dictId), path, &count).ok() ? count
                                                                                           : 0u;
  });
}

int32_t ORVIADIC_API dicImportOwnerWord(uint32_t dictId, const char* path,
                                        DicImportCallback callback) {
  return guarded(0, [&] {
    uint32_t length = 0;
    if (!orvia::api::readableTextLength(path, &length)) return 0;
    return orvia::update::importOwnerWords(exchangeDictId(dictId), path, callback).ok() ? 1 : 0;
  });
}

}  // extern "C"
