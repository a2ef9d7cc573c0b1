#include <cstring>

#include "api/guard.h"
#include "platform/platform.h"

namespace orvia::api {
namespace {

// Pages are at least this large and aligned to it, so a probe of one such span never
// straddles memory of two kinds.
constexpr uintptr_t kProbeSpan = 4096;

}  // namespace

bool readableTextLength(const char* text, uint32_t* length) {
  uint64_t measured = 0;
  for (const char* p = text;;) {
    const size_t span = size_t(kProbeSpan - reinterpret_cast<uintptr_t>(p) % kProbeSpan);
    if (!platform::isReadable(p, span)) return false;
    const void* end = std::memchr(p, '\0', span);
    if (end != nullptr) {
      measured += uint64_t(static_cast<const char*>(end) - p);
      if (measured > UINT32_MAX) return false;
      *length = uint32_t(measured);
      return true;
    }
    measured += span;
    if (measured > UINT32_MAX) return false;
    p += span;
  }
}

}  // namespace orvia::api
