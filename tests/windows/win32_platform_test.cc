// The Win32 backend against the real system: Wine's registry, page protections, heaps,
// version blocks read by the system's version functions, a message-only window, and the
// named mutex shared with another process.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "dict/config.h"
#include "dict/version.h"
#include "platform/file.h"
#include "platform/platform.h"
#include "platform/registry_setup.h"
#include "support/heap_failures.h"
#include "support/temp_dir.h"
#include "support/version_block.h"
#include "windows/child_process.h"

namespace orvia::platform {
namespace {

// A key of its own under HKEY_CURRENT_USER, deleted with everything in it.
class RegistryKeyTest : public ::testing::Test {
 protected:
  void SetUp() override {
    path_ = "Software\\OrviaDicTest\\" + std::to_string(GetCurrentProcessId()) + "-" +
            std::to_string(GetTickCount());
    ASSERT_TRUE(regCreateKey(kHkeyCurrentUser, path_.c_str()));
  }
  void TearDown() override { RegDeleteTreeA(HKEY_CURRENT_USER, path_.c_str()); }

  bool setValue(const char* name, uint32_t type, const void* data, uint32_t size) {
    RegKey key = regOpenKey(kHkeyCurrentUser, path_.c_str(), RegAccess::kWrite);
    bool ok = regSetValue(key, name, type, data, size);
    regCloseKey(key);
    return ok;
  }

  std::string path_;
};

TEST_F(RegistryKeyTest, ValuesRoundTripWithTheirTypesAndSizes) {
  const uint32_t dword = 0x01020304;
  const uint8_t time[16] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
  struct Row {
    const char* name;
    uint32_t type;
    const void* data;
    uint32_t size;
  } rows[] = {
      {"00010203Path", kRegSz, "D:\\Dict", 8},
      {"Type", kRegDword, &dword, 4},
      {"00010203time", kRegBinary, time, 16},
  };
  for (const Row& row : rows) ASSERT_TRUE(setValue(row.name, row.type, row.data, row.size));
  RegKey key = regOpenKey(kHkeyCurrentUser, path_.c_str(), RegAccess::kRead);
  ASSERT_NE(key, nullptr);
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    uint32_t type = 0, size = 0;
    ASSERT_TRUE(regQueryValue(key, row.name, &type, nullptr, &size));
    EXPECT_EQ(size, row.size);
    uint8_t small[2];
    size = sizeof small;
    EXPECT_FALSE(regQueryValue(key, row.name, &type, small, &size)) << "too small a buffer";
    EXPECT_EQ(size, row.size);
    std::vector<uint8_t> bytes(row.size);
    size = row.size;
    ASSERT_TRUE(regQueryValue(key, row.name, &type, bytes.data(), &size));
    EXPECT_EQ(type, row.type);
    EXPECT_EQ(std::memcmp(bytes.data(), row.data, row.size), 0);
  }
  char name[64];
  uint32_t size = 0, count = 0;
  while (regEnumValue(key, count, name, sizeof name, nullptr, nullptr, &size)) ++count;
  EXPECT_EQ(count, 3u);
  regCloseKey(key);
}

TEST_F(RegistryKeyTest, OpeningNeverCreatesAKey) {
  std::string missing = path_ + "\\Missing";
  EXPECT_EQ(regOpenKey(kHkeyCurrentUser, missing.c_str(), RegAccess::kRead), nullptr);
  EXPECT_EQ(regOpenKey(kHkeyCurrentUser, missing.c_str(), RegAccess::kWrite), nullptr);
  HKEY probe = nullptr;
  EXPECT_NE(RegOpenKeyExA(HKEY_CURRENT_USER, missing.c_str(), 0, KEY_READ, &probe), ERROR_SUCCESS);
}

// Path resolution reads the real registry through the configured key.
TEST_F(RegistryKeyTest, DictionaryPathsResolveFromTheRegistry) {
  struct Row {
    const char* value;  // 00010203Path
    const char* expected;
  } rows[] = {
      {"D:\\Dict", "D:\\Dict\\00010203.IDX"},
      {"D:\\Dict/  ", "D:\\Dict\\00010203.IDX"},
      {"C:\\", "C:\\00010203.IDX"},
      {"C\\", nullptr},
      {"\\", nullptr},
  };
  ASSERT_EQ(dict::setRegistryKey(kHkeyCurrentUser, path_.c_str()), 1);
  for (const Row& row : rows) {
    SCOPED_TRACE(row.value);
    ASSERT_TRUE(setValue("00010203Path", kRegSz, row.value, uint32_t(std::strlen(row.value) + 1)));
    char out[dict::kMaxPath];
    int resolved = dict::resolveDictFilePath(0x00010203, out, sizeof out, "00010203.IDX");
    if (row.expected == nullptr) {
      EXPECT_EQ(resolved, 0);
    } else {
      ASSERT_EQ(resolved, 1);
      EXPECT_STREQ(out, row.expected);
    }
  }
  // The record dictionary falls back to the family's value.
  ASSERT_TRUE(setValue("00010203Path", kRegSz, "D:\\Dict", 8));
  char out[dict::kMaxPath];
  ASSERT_EQ(dict::resolveDictFilePath(0x7F010203, out, sizeof out, "7F010203.IDX"), 1);
  EXPECT_STREQ(out, "D:\\Dict\\7F010203.IDX");
  dict::setRegistryKey(kHkeyLocalMachine, dict::kDefaultRegistryPath);
}

// Two pages: the first readable and writable, the second as each row protects it.
TEST(ProbeTest, FollowsThePageProtections) {
  const size_t page = 4096;
  auto* base = static_cast<uint8_t*>(VirtualAlloc(nullptr, 2 * page, MEM_COMMIT, PAGE_READWRITE));
  ASSERT_NE(base, nullptr);
  struct Row {
    DWORD protection;
    bool readable, writable;
  } rows[] = {
      {PAGE_READWRITE, true, true},
      {PAGE_READONLY, true, false},
      {PAGE_NOACCESS, false, false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.protection);
    DWORD old = 0;
    ASSERT_TRUE(VirtualProtect(base + page, page, row.protection, &old));
    EXPECT_TRUE(isReadable(base, page));
    EXPECT_TRUE(isWritable(base, page));
    EXPECT_EQ(isReadable(base + page - 8, 16), row.readable) << "a range into the second page";
    EXPECT_EQ(isWritable(base + page - 8, 16), row.writable);
    EXPECT_EQ(isReadable(base + 2 * page - 1, 1), row.readable) << "its last byte";
  }
  VirtualFree(base, 0, MEM_RELEASE);
}

TEST(ProbeTest, NullIsRefusedEvenForNoBytes) {
  char byte = 0;
  EXPECT_FALSE(isReadable(nullptr, 0));
  EXPECT_FALSE(isWritable(nullptr, 0));
  EXPECT_TRUE(isReadable(&byte, 0));
  EXPECT_TRUE(isWritable(&byte, 0));
}

TEST(HeapTest, PrivateHeapsGiveZeroedBlocksAndDieWithThem) {
  HeapHandle heap = createHeap(0);
  ASSERT_NE(heap, nullptr);
  auto* block = static_cast<uint8_t*>(heapAlloc(heap, 64));
  ASSERT_NE(block, nullptr);
  EXPECT_EQ(std::count(block, block + 64, 0), 64);
  std::memset(block, 0xAB, 64);
  block = static_cast<uint8_t*>(heapReAlloc(heap, block, 4096));
  ASSERT_NE(block, nullptr);
  EXPECT_EQ(block[63], 0xAB);
  EXPECT_EQ(block[4095], 0) << "grown bytes are zero";
  EXPECT_TRUE(destroyHeap(heap));
  EXPECT_FALSE(destroyHeap(processHeap())) << "the process heap stays";
}

TEST(HeapTest, InjectedFailuresHitTheNthAllocation) {
  HeapHandle heap = processHeap();
  testing::injectAllocationFailure(2);
  void* first = heapAlloc(heap, 8);
  void* second = heapAlloc(heap, 8);
  void* third = heapAlloc(heap, 8);
  EXPECT_NE(first, nullptr);
  EXPECT_EQ(second, nullptr);
  EXPECT_NE(third, nullptr);
  heapFree(heap, first);
  heapFree(heap, third);
  testing::injectProcessHeapFailure(true);
  EXPECT_EQ(processHeap(), nullptr);
  testing::injectProcessHeapFailure(false);
  EXPECT_NE(processHeap(), nullptr);
}

TEST(FileTest, DirectoriesEndInABackslash) {
  EXPECT_EQ(kDirectorySeparator, '\\');
}

// The system's own version functions read the blocks the tests make.
TEST(VersionTest, BlocksAreReadByTheSystem) {
  struct Row {
    std::vector<uint32_t> translations;
    const char* fileVersion;
    uint32_t expected;
  } rows[] = {
      {{0x04B00409u}, "2, 0, 1, 15", 0x0200010Fu},
      {{0x04E40407u}, "1.2.3.4", 0xD2u},
      {{0x04B00409u}, "1,2,3,4,5", 0x02030405u},
      {{0x04B00409u, 0x04E40407u}, "2, 0, 1, 15", 0u},
      {{}, "2, 0, 1, 15", 0u},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.fileVersion);
    std::vector<uint8_t> block = testing::makeVersionBlock(row.translations, row.fileVersion);
    EXPECT_EQ(dict::versionFromBlock(block.data()), row.expected);
  }
}

LRESULT CALLBACK recordMessage(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message >= WM_USER) {
    auto* seen = reinterpret_cast<std::vector<std::pair<WPARAM, LPARAM>>*>(
        GetWindowLongPtrA(window, GWLP_USERDATA));
    seen->emplace_back(wparam, lparam);
    return LRESULT(seen->size());
  }
  return DefWindowProcA(window, message, wparam, lparam);
}

TEST(MessageTest, ReachesAMessageOnlyWindow) {
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
  uint32_t handle = uint32_t(uintptr_t(window));
  EXPECT_EQ(sendMessage(handle, WM_USER + 1, 7, 70), 1);
  EXPECT_EQ(sendMessage(handle, WM_USER + 2, 8, -1), 2);
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[0], (std::pair<WPARAM, LPARAM>(7, 70)));
  EXPECT_EQ(seen[1], (std::pair<WPARAM, LPARAM>(8, -1)));
  DestroyWindow(window);
}

// The events the helper signals, made before it starts so that none is lost when the
// helper exits first.
class HelperEvents {
 public:
  explicit HelperEvents(const char* stem)
      : name_(std::string(stem) + std::to_string(GetCurrentProcessId()) + "-" +
              std::to_string(GetTickCount())) {
    for (const char* suffix : {".acquired", ".proceed", ".releasing"})
      events_.push_back(CreateEventA(nullptr, TRUE, FALSE, (name_ + suffix).c_str()));
  }
  ~HelperEvents() {
    for (HANDLE event : events_) CloseHandle(event);
  }
  const std::string& name() const { return name_; }
  void waitAcquired() const { WaitForSingleObject(events_[0], INFINITE); }
  void proceed() const { SetEvent(events_[1]); }
  bool releasing() const { return WaitForSingleObject(events_[2], 0) == WAIT_OBJECT_0; }

 private:
  std::string name_;
  std::vector<HANDLE> events_;
};

TEST(MutexTest, ExcludesAnotherProcess) {
  HelperEvents events("OrviaDicTestMutex");
  testing::ChildProcess child("hold-mutex " + events.name());
  ASSERT_TRUE(child.started());
  events.waitAcquired();
  HANDLE raw = OpenMutexA(SYNCHRONIZE, FALSE, events.name().c_str());
  ASSERT_NE(raw, nullptr) << "a system mutex of that name";
  EXPECT_EQ(WaitForSingleObject(raw, 0), DWORD(WAIT_TIMEOUT)) << "held by the other process";
  CloseHandle(raw);
  MutexHandle mutex = openOrCreateMutex(events.name().c_str());
  ASSERT_NE(mutex, nullptr);
  events.proceed();
  waitMutex(mutex);
  EXPECT_TRUE(events.releasing()) << "ours only after the other let go";
  releaseMutex(mutex);
  closeMutex(mutex);
  EXPECT_EQ(child.wait(), 0u);
}

TEST(MutexTest, AMutexItsOwnerDiedHoldingIsTaken) {
  HelperEvents events("OrviaDicTestAbandoned");
  testing::ChildProcess child("abandon-mutex " + events.name());
  ASSERT_TRUE(child.started());
  events.waitAcquired();
  child.wait();
  MutexHandle mutex = openOrCreateMutex(events.name().c_str());
  ASSERT_NE(mutex, nullptr);
  waitMutex(mutex);
  releaseMutex(mutex);
  closeMutex(mutex);
}

}  // namespace
}  // namespace orvia::platform
