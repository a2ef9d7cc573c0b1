// A window value whose progress messages reach a function of the test: on Windows a
// message-only window of the test's thread, elsewhere a sink registered with the platform.
#pragma once

#include <cstdint>

#include "platform/platform.h"
#ifdef _WIN32
#include <windows.h>
#endif

namespace orvia::testing {

class MessageReceiver {
 public:
  explicit MessageReceiver(platform::MessageSink sink) {
#ifdef _WIN32
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = deliver;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "OrviaDicTestProgress";
    RegisterClassA(&windowClass);
    HWND window = CreateWindowExA(0, windowClass.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE,
                                  nullptr, windowClass.hInstance, nullptr);
    SetWindowLongPtrA(window, GWLP_USERDATA, LONG_PTR(sink));
    window_ = uint32_t(uintptr_t(window));
#else
    platform::registerMessageSink(window_, sink);
#endif
  }
  ~MessageReceiver() {
#ifdef _WIN32
    DestroyWindow(HWND(uintptr_t(window_)));
#else
    platform::registerMessageSink(window_, nullptr);
#endif
  }
  uint32_t window() const {
    return window_;
  }

 private:
#ifdef _WIN32
  static LRESULT CALLBACK deliver(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    auto sink = platform::MessageSink(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (message < WM_USER || sink == nullptr)
      return DefWindowProcA(window, message, wparam, lparam);
    return sink(uint32_t(uintptr_t(window)), message, wparam, lparam);
  }
#endif
  uint32_t window_ = 0x2A;
};

}  // namespace orvia::testing
