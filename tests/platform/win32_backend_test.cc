// What only the Win32 backend has: progress messages to a window, the writers' mutex as a
// system object of its name, heaps that zero what they grow, and paths resolved with the
// system's separator. (The system's version functions read the library's own version
// resource in the portability test.)
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "dict/config.h"
#include "platform/platform.h"
#include "support/registry_fixture.h"

namespace orvia::platform {
namespace {

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
  EXPECT_EQ(sendMessage(handle, WM_USER + 1, 7, 70), 1);
  EXPECT_EQ(sendMessage(handle, WM_USER + 2, 8, -1), 2);
  EXPECT_EQ(seen, (std::vector<std::pair<WPARAM, LPARAM>>{{7, 70}, {8, -1}}));
  DestroyWindow(window);
}

// Other processes loading the library find the writers' mutex by its name.
TEST(Win32Mutex, IsASystemMutexOfItsName) {
  const std::string name = "OrviaDicTest mutex " + std::to_string(GetCurrentProcessId());
  MutexHandle mutex = openOrCreateMutex(name.c_str());
  ASSERT_NE(mutex, nullptr);
  HANDLE raw = OpenMutexA(SYNCHRONIZE, FALSE, name.c_str());
  EXPECT_NE(raw, nullptr);
  CloseHandle(raw);
  closeMutex(mutex);
}

TEST(Win32Heap, GrownBlocksAreZeroBeyondTheOldSize) {
  HeapHandle heap = createHeap(0);
  auto* block = static_cast<uint8_t*>(heapReAlloc(heap, heapAlloc(heap, 64), 4096));
  ASSERT_NE(block, nullptr);
  EXPECT_EQ(block[4095], 0);
  EXPECT_TRUE(destroyHeap(heap));
}

// Path resolution reads the real registry through the configured key.
class Win32Paths : public orvia::testing::RegistryFixture {};

TEST_F(Win32Paths, EndInTheSystemSeparator) {
  const struct {
    const char* value;  // of 00010203Path, in the registry editor's escapes
    uint32_t dictId;
    const char* expected;
  } rows[] = {
      {"D:\\\\Dict", 0x00010203, "D:\\Dict\\00010203.IDX"},
      {"D:\\\\Dict/  ", 0x00010203, "D:\\Dict\\00010203.IDX"},
      {"C:\\\\", 0x00010203, "C:\\00010203.IDX"},
      {"C\\\\", 0x00010203, nullptr},
      {"\\\\", 0x00010203, nullptr},
      {"D:\\\\Dict", 0x7F010203, "D:\\Dict\\7F010203.IDX"},  // the family's value
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.value);
    writeDictKey("\"00010203Path\"=\"" + std::string(row.value) + "\"\r\n");
    ASSERT_EQ(dict::setRegistryKey(orvia::testing::testKeyRoot(), orvia::testing::testKeyPath()),
              1);
    char name[13], out[dict::kMaxPath];
    std::snprintf(name, sizeof name, "%08X.IDX", unsigned(row.dictId));
    const int resolved = dict::resolveDictFilePath(row.dictId, out, sizeof out, name);
    EXPECT_EQ(resolved == 1 ? std::string(out) : "<none>", row.expected ? row.expected : "<none>");
  }
  dict::setRegistryKey(kHkeyLocalMachine, dict::kDefaultRegistryPath);
}

}  // namespace
}  // namespace orvia::platform
