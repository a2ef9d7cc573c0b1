#include <windows.h>

#include "platform/platform.h"

namespace orvia::platform {

// Window handles keep their meaning in their low 32 bits, in 64-bit processes too.
intptr_t sendMessage(uint32_t window, uint32_t message, uintptr_t wparam, intptr_t lparam) {
  return SendMessageA(reinterpret_cast<HWND>(uintptr_t(window)), message, wparam, lparam);
}

// Real windows receive the messages here; there is nothing to register.
bool registerMessageSink(uint32_t, MessageSink) {
  return false;
}

}  // namespace orvia::platform
