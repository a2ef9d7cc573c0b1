#include "platform/platform.h"

namespace orvia::platform {

// There are no windows on POSIX: a progress message has nowhere to go.
intptr_t sendMessage(uint32_t, uint32_t, uintptr_t, intptr_t) {
  return 0;
}

}  // namespace orvia::platform
