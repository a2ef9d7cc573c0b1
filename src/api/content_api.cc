#include "api/guard.h"
#include "content/content_retrieval.h"

using orvia::api::guarded;

namespace {

// A word whose record and dictionary the content layer can read.
bool isReadableWord(const HWORD* word) {
  return orvia::api::hasRecord(word) && word->dict != nullptr;
}

}  // namespace

extern "C" {

int32_t ORVIADIC_API dicIsExistContent(HWORD* word, uint32_t dictId) {
  return guarded(
      0, [&] { return isReadableWord(word) ? orvia::content::contentExists(word, dictId) : 0; });
}

uint32_t ORVIADIC_API dicGetContentSize(HWORD* word, uint32_t dictId) {
  return guarded(0u, [&] {
    uint32_t size = 0;
    return isReadableWord(word) && orvia::content::contentSize(word, dictId, &size).ok() ? size
                                                                                         : 0u;
  });
}

uint32_t ORVIADIC_API dicGetContent(HWORD* word, uint32_t dictId, char* buffer, uint32_t capacity) {
  return guarded(0u, [&] {
    if (capacity == 0 || !orvia::platform::isWritable(buffer, capacity)) return 0u;
    buffer[0] = '\0';
    if (!isReadableWord(word)) return 0u;
    uint32_t length = 0;
    return orvia::content::contentText(word, dictId, buffer, capacity, &length).ok() ? length : 0u;
  });
}

}  // extern "C"
