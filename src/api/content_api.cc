#include "api/guard.h"
#include "content/content_retrieval.h"

using orvia::api::guarded;

extern "C" {

int32_t ORVIADIC_API dicIsExistContent(HWORD* word, uint32_t dictId) {
  return guarded(0, [&] { return orvia::content::contentExists(word, dictId); });
}

uint32_t ORVIADIC_API dicGetContentSize(HWORD* word, uint32_t dictId) {
  return guarded(0u, [&] { return orvia::content::contentSize(word, dictId); });
}

uint32_t ORVIADIC_API dicGetContent(HWORD* word, uint32_t dictId, char* buffer, uint32_t capacity) {
  return guarded(0u, [&] { return orvia::content::contentText(word, dictId, buffer, capacity); });
}

}  // extern "C"
