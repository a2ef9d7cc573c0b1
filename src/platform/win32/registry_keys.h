// Root keys as the Win32 registry functions take them.
#pragma once

#include <windows.h>

#include <cstdint>

#include "platform/platform.h"

namespace orvia::platform {

// Predefined root keys are sign-extended 32-bit values, in 64-bit processes too.
inline HKEY rootKey(RegRoot root) {
  return reinterpret_cast<HKEY>(intptr_t(int32_t(root)));
}

}  // namespace orvia::platform
