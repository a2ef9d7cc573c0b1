// OrviaDic.dll as Windows loads it: the version resource read by the system's version
// functions, undecorated exports found by name, and the argument probes refusing caller
// buffers the process cannot write, which stay untouched.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "orviadic.h"
#include "platform/platform.h"
#include "platform/registry_setup.h"

namespace {

constexpr uint32_t kDictId = 0x00010101;
constexpr char kTestKey[] = "Software\\OrviaDicTest\\Probes";

TEST(DllTest, VersionComesFromTheVersionResource) {
  EXPECT_EQ(dicGetVersion(), 0x0200010Fu);
}

TEST(DllTest, ExportsAreFoundByTheirUndecoratedNames) {
  HMODULE module = LoadLibraryA("OrviaDic.dll");
  ASSERT_NE(module, nullptr);
  for (const char* name : {"dicCreateHDICT", "dicGetVersion", "dicSearchWord", "dicGetContent"})
    EXPECT_NE(GetProcAddress(module, name), nullptr) << name;
  EXPECT_EQ(GetProcAddress(module, "onModuleAttach"), nullptr) << "nothing else is exported";
  auto version = reinterpret_cast<uint32_t(ORVIADIC_API*)()>(
      reinterpret_cast<void*>(GetProcAddress(module, "dicGetVersion")));
  EXPECT_EQ(version(), 0x0200010Fu);
  FreeLibrary(module);
}

// A word of the dictionary compiled on Linux, and two pages whose second one each test
// protects as it needs.
class ProbeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    using namespace orvia::platform;
    const char* source = std::getenv("ORVIADIC_SOURCE_DIR");
    ASSERT_NE(source, nullptr);
    std::string folder = std::string(source) + "/tests/windows/data/linux_dictionary";
    ASSERT_TRUE(regCreateKey(kHkeyCurrentUser, kTestKey));
    RegKey key = regOpenKey(kHkeyCurrentUser, kTestKey, RegAccess::kWrite);
    ASSERT_TRUE(
        regSetValue(key, "00010101Path", kRegSz, folder.c_str(), uint32_t(folder.size() + 1)));
    regCloseKey(key);
    ASSERT_EQ(dicSetRegKey(HKEY_CURRENT_USER, kTestKey), 1);
    dict_ = dicCreateHDICT(kDictId);
    ASSERT_NE(dict_, nullptr);
    word_ = dicSearchWord(dict_, "apple");
    ASSERT_NE(word_, nullptr);
    pages_ = static_cast<char*>(VirtualAlloc(nullptr, 2 * kPage, MEM_COMMIT, PAGE_READWRITE));
    ASSERT_NE(pages_, nullptr);
    std::memset(pages_, '#', 2 * kPage);
  }
  void TearDown() override {
    if (pages_ != nullptr) VirtualFree(pages_, 0, MEM_RELEASE);
    if (word_ != nullptr) dicFreeHWORD(word_);
    if (dict_ != nullptr) dicFreeHDICT(dict_);
    dicSetRegKey(HKEY_LOCAL_MACHINE, "SOFTWARE\\Caldmore\\Orvia\\Tolvane\\Dict");
  }
  void protectSecondPage(DWORD protection) {
    DWORD old = 0;
    ASSERT_TRUE(VirtualProtect(pages_ + kPage, kPage, protection, &old));
  }
  bool untouched(const char* at, size_t size) const {
    for (size_t i = 0; i < size; ++i)
      if (at[i] != '#') return false;
    return true;
  }

  static constexpr size_t kPage = 4096;
  HDICT* dict_ = nullptr;
  HWORD* word_ = nullptr;
  char* pages_ = nullptr;
};

TEST_F(ProbeTest, BuffersReachingAnUnwritablePageAreRefusedUntouched) {
  const uint32_t size = 64;
  char* buffer = pages_ + kPage - size / 2;  // half of it on the second page
  for (DWORD protection : {DWORD(PAGE_READONLY), DWORD(PAGE_NOACCESS)}) {
    SCOPED_TRACE(protection);
    protectSecondPage(protection);
    EXPECT_EQ(dicGetKey(word_, buffer, size), 0);
    EXPECT_EQ(dicGetWord(word_, buffer, size), 0);
    EXPECT_EQ(dicGetContent(word_, kDictId, buffer, size), 0u);
    uint32_t entries = 7;
    EXPECT_EQ(dicGetKeyList(dict_, 0, 3, buffer, size, &entries), 0u);
    EXPECT_TRUE(untouched(buffer, size / 2));
    protectSecondPage(PAGE_READWRITE);
    EXPECT_TRUE(untouched(buffer, size));
  }
}

TEST_F(ProbeTest, TheSameBuffersInWritableMemoryAreFilled) {
  const uint32_t size = 64;
  char* buffer = pages_ + kPage - size / 2;
  EXPECT_EQ(dicGetKey(word_, buffer, size), 1);
  EXPECT_STREQ(buffer, "apple");
  EXPECT_GT(dicGetContent(word_, kDictId, buffer, size), 0u);
  EXPECT_FALSE(untouched(buffer, size));
}

}  // namespace
