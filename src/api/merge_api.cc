#include "api/guard.h"
#include "platform/platform.h"
#include "update/newword_merge.h"

using orvia::api::guarded;

extern "C" {

int32_t ORVIADIC_API dicAddNewWordEx(const char* path, uint32_t mode, void* target) {
  return guarded(0, [&] {
    uint32_t length = 0;
    if (!orvia::api::readableTextLength(path, &length) || length == 0) return 0;
    // The window and message are read at every report: they must stay readable.
    if (mode == kNewWordNotifyWindow && target != nullptr &&
        !orvia::platform::isReadable(target, sizeof(NotifyTarget)))
      return 0;
    const orvia::update::MergeProgress progress(mode, target);
    return orvia::update::mergeNewWordFile(path, progress).ok() ? 1 : 0;
  });
}

int32_t ORVIADIC_API dicAddNewWord(const char* path) {
  return dicAddNewWordEx(path, 0, nullptr);
}

}  // extern "C"
