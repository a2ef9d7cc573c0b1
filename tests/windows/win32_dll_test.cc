// OrviaDic.dll as Windows loads it: the version resource read by the system's version
// functions, undecorated exports found by name, and the argument probes refusing caller
// buffers the process cannot write, which stay untouched.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "orviadic.h"
#include "support/read_only_page.h"
#include "support/registry_fixture.h"

namespace {

constexpr uint32_t kDictId = 0x00010101;

TEST(DllTest, ExportsAreFoundByTheirUndecoratedNamesAndReadTheVersionResource) {
  EXPECT_EQ(dicGetVersion(), 0x0200010Fu);
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

// A word of the dictionary compiled on Linux, and a buffer whose second half lies on a
// page each row protects.
class ProbeTest : public orvia::testing::RegistryFixture {
 protected:
  void SetUp() override {
    RegistryFixture::SetUp();
    const std::string folder = std::getenv("ORVIADIC_SOURCE_DIR");
    writeDictKey("\"00010101Path\"=\"" + folder + "/tests/windows/data/linux_dictionary\"\r\n");
    ASSERT_EQ(dicSetRegKey(reinterpret_cast<void*>(uintptr_t(orvia::testing::testKeyRoot())),
                           orvia::testing::testKeyPath()),
              1);
    dict_ = dicCreateHDICT(kDictId);
    ASSERT_NE(dict_, nullptr);
    word_ = dicSearchWord(dict_, "apple");
    ASSERT_NE(word_, nullptr);
  }
  void TearDown() override {
    dicFreeHWORD(word_);
    dicFreeHDICT(dict_);
    dicSetRegKey(HKEY_LOCAL_MACHINE, "SOFTWARE\\Caldmore\\Orvia\\Tolvane\\Dict");
    RegistryFixture::TearDown();
  }

  HDICT* dict_ = nullptr;
  HWORD* word_ = nullptr;
};

TEST_F(ProbeTest, BuffersReachingAnUnwritablePageAreRefusedUntouched) {
  using orvia::testing::PageAccess;
  orvia::testing::GuardedPages pages(PageAccess::kReadWrite);
  constexpr uint32_t kSize = 64;
  char* buffer = pages.second() - kSize / 2;
  for (PageAccess access : {PageAccess::kRead, PageAccess::kNone, PageAccess::kReadWrite}) {
    SCOPED_TRACE(int(access));
    ASSERT_TRUE(pages.protectSecond(PageAccess::kReadWrite));
    std::memset(buffer, '#', kSize);
    ASSERT_TRUE(pages.protectSecond(access));
    const bool writable = access == PageAccess::kReadWrite;
    uint32_t entries = 7;
    EXPECT_EQ(dicGetKey(word_, buffer, kSize), int(writable));
    EXPECT_EQ(dicGetWord(word_, buffer, kSize), int(writable));
    EXPECT_EQ(dicGetContent(word_, kDictId, buffer, kSize) > 0, writable);
    EXPECT_EQ(dicGetKeyList(dict_, 0, 3, buffer, kSize, &entries) > 0, writable);
    ASSERT_TRUE(pages.protectSecond(PageAccess::kReadWrite));
    EXPECT_EQ(std::string(buffer, kSize) == std::string(kSize, '#'), !writable);
  }
}

}  // namespace
