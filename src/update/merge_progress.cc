#include "update/merge_progress.h"

#include "platform/platform.h"

namespace orvia::update {

void MergeProgress::report(uint32_t stage, intptr_t value) const {
  if (target_ == nullptr) return;
  if (mode_ == kNewWordNotifyWindow) {
    // The caller may retarget its window between reports: both fields are read each time.
    const volatile NotifyTarget* notify = static_cast<const volatile NotifyTarget*>(target_);
    const uint32_t window = notify->window;
    const uint32_t message = notify->message;
    if (window != 0 && message != 0) platform::sendMessage(window, message, stage, value);
  } else if (mode_ == kNewWordNotifyProc) {
    reinterpret_cast<NewWordProgressProc>(target_)(stage, value);
  }
}

}  // namespace orvia::update
