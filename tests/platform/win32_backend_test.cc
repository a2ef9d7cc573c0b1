// What only the Win32 backend has: progress messages to a window, heaps that zero what
// they grow, and paths resolved with the system's separator. (The writers' mutex as a
// system object of its name is the contract's: another process finds it.) (The system's version
// functions read the library's own version resource in the portability test.)
#include <gtest/gtest.h>
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "dict/config.h"
#include "platform/platform.h"
#include "support/case_table.h"
#include "support/registry_fixture.h"

namespace orvia::platform {
namespace {

using namespace orvia::testing;

LRESULT CALLBACK recordMessage(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message < WM_USER) return DefWindowProcA(window, message, wparam, lparam);
  auto* seen = reinterpret_cast<std::vector<std::pair<WPARAM, LPARAM>>*>(
      GetWindowLongPtrA(window, GWLP_USERDATA));
  seen->emplace_back(wparam, lparam);
  return LRESULT(seen->size());
}

TEST(Win32Message, ReachesAMessageOnlyWindow) {
  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = recordMessage;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = "OrviaDicTestReceiver";
  RegisterClassA(&windowClass);
  HWND window = CreateWindowExA(0, windowClass.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE,
                                nullptr, windowClass.hInstance, nullptr);
  ASSERT_NE(window, nullptr);
  std::vector<std::pair<WPARAM, LPARAM>> seen;
  SetWindowLongPtrA(window, GWLP_USERDATA, LONG_PTR(&seen));
  const uint32_t handle = uint32_t(uintptr_t(window));
  EXPECT_EQ(sendMessage(handle, WM_USER + 1, 7, 70) + sendMessage(handle, WM_USER + 2, 8, -1), 3);
  EXPECT_EQ(seen, (std::vector<std::pair<WPARAM, LPARAM>>{{7, 70}, {8, -1}}));
  DestroyWindow(window);
}

TEST(Win32Heap, GrownBlocksAreZeroBeyondTheOldSize) {
  HeapHandle heap = createHeap(0);
  auto* block = static_cast<uint8_t*>(heapReAlloc(heap, heapAlloc(heap, 64), 4096));
  ASSERT_NE(block, nullptr);
  EXPECT_EQ(block[4095], 0);
  EXPECT_TRUE(destroyHeap(heap));
}

// Path resolution reads the real registry through the configured key.
using Win32Paths = RegistryFixture;

TEST_F(Win32Paths, EndInTheSystemSeparator) {
  for (const CaseRow& c : caseTable("platform/win32_paths.txt")) {
    SCOPED_TRACE(c.line);
    writeDictKey("\"00010203Path\"=\"" + *c.bytes(0) + "\"\r\n");
    ASSERT_EQ(dict::setRegistryKey(testKeyRoot(), testKeyPath()), 1);
    char out[dict::kMaxPath];
    const int resolved =
        dict::resolveDictFilePath(uint32_t(c.number(1)), out, sizeof out, c.bytes(2)->c_str());
    EXPECT_EQ(resolved ? std::optional<std::string>(out) : std::nullopt, c.bytes(3));
  }
  dict::setRegistryKey(kHkeyLocalMachine, dict::kDefaultRegistryPath);
}

}  // namespace
}  // namespace orvia::platform
