// The platform seam's contract, compiled for both backends: run natively against the POSIX
// one and under Wine against the Win32 one, both must give the library the same answers.
// What only one backend has is tested beside this file (posix_backend_test.cc,
// win32_backend_test.cc).
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/file.h"
#include "platform/platform.h"
#include "platform/registry_setup.h"
#include "support/case_table.h"
#include "support/child_process.h"
#include "support/heap_failures.h"
#include "support/message_receiver.h"
#include "support/read_only_page.h"
#include "support/registry_fixture.h"

namespace orvia::platform {
namespace {

using namespace orvia::testing;

TEST(FileContract, SharedFilesReadWriteTruncateAndFind) {
  TempDir dir;
  const std::string path = dir.file("00010203.DAT"), missing = dir.file("missing.DAT");
  std::unique_ptr<File> writer = openFile(path.c_str(), FileMode::kCreateTruncate);
  std::unique_ptr<File> reader = openFile(path.c_str(), FileMode::kRead);
  ASSERT_TRUE(writer && reader) << "read and write sharing";
  ASSERT_TRUE(writer->writeAt(0, "0123456789", 10) && writer->writeAt(2, "ab", 2));
  char bytes[8] = {};
  size_t got = 0;
  auto readAt = [&](uint64_t at, size_t size) {
    EXPECT_TRUE(reader->readAt(at, bytes, size, &got));
    return std::string(bytes, got);
  };
  EXPECT_EQ(readAt(1, 3), "1ab") << "each call reads at its own offset";
  EXPECT_EQ(readAt(6, 8), "6789") << "a short read at the end";
  ASSERT_TRUE(writer->truncate(4));
  uint64_t size = 0;
  EXPECT_TRUE(reader->size(&size) && size == 4u);
  EXPECT_EQ(readAt(6, 8), "") << "past the end";
  EXPECT_FALSE(reader->writeAt(0, "x", 1)) << "opened for reading";
  EXPECT_TRUE(fileExists(path.c_str()));
  EXPECT_FALSE(fileExists(missing.c_str()) || fileExists(nullptr));
  EXPECT_EQ(openFile(missing.c_str(), FileMode::kRead), nullptr);
  EXPECT_EQ(openFile(missing.c_str(), FileMode::kReadWrite), nullptr);
  EXPECT_EQ(openFile(nullptr, FileMode::kCreateTruncate), nullptr);
  EXPECT_EQ(openFile(path.c_str(), FileMode::kCreateNew), nullptr) << "the file exists";
  EXPECT_EQ(openFile(dir.path().c_str(), FileMode::kRead), nullptr) << "a directory";
}

// The second page as each row protects it; a probe must stop at its first byte.
TEST(ProbeContract, FollowsThePageProtections) {
  GuardedPages pages(PageAccess::kReadWrite);
  ASSERT_NE(pages.first(), nullptr);
  const size_t page = pages.pageSize();
  char* lastByte = pages.first() + page - 1;
  std::memset(pages.first(), 'x', page);
  for (auto [access, readable, writable] :
       {std::tuple{PageAccess::kReadWrite, true, true}, std::tuple{PageAccess::kRead, true, false},
        std::tuple{PageAccess::kNone, false, false}}) {
    SCOPED_TRACE(int(access));
    ASSERT_TRUE(pages.protectSecond(access));
    EXPECT_TRUE(isReadable(pages.first(), page) && isWritable(pages.first(), page));
    EXPECT_EQ(isReadable(lastByte, 2), readable) << "one byte into the second page";
    EXPECT_EQ(isWritable(lastByte, 2), writable);
    EXPECT_EQ(isWritable(pages.first(), page + 1), writable);
    EXPECT_EQ(isReadable(pages.second() + page - 1, 1), readable) << "its last byte";
    EXPECT_EQ(*lastByte, 'x') << "probing leaves the bytes as they were";
  }
  char byte = 0;
  EXPECT_FALSE(isReadable(nullptr, 0) || isWritable(nullptr, 0)) << "null even for no bytes";
  EXPECT_TRUE(isReadable(&byte, 0) && isWritable(&byte, 0));
}

TEST(HeapContract, AnInjectedFailureHidesTheProcessHeap) {
  injectProcessHeapFailure(true);
  EXPECT_EQ(processHeap(), nullptr);
  injectProcessHeapFailure(false);
  EXPECT_NE(processHeap(), nullptr);
}

// The sanitizer build reports a leak if destroying the heap left a block behind.
TEST(HeapContract, PrivateHeapsGiveZeroedBlocksAndFreeWhatIsLeft) {
  HeapHandle heap = createHeap(1024);
  auto* kept = static_cast<uint8_t*>(heapAlloc(heap, 64));
  void* freed = heapAlloc(heap, 100);
  ASSERT_TRUE(kept && freed);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(kept), 64), std::string(64, '\0'));
  EXPECT_TRUE(heapFree(heap, freed));
  std::memset(kept, 0xAB, 64);
  kept = static_cast<uint8_t*>(heapReAlloc(heap, kept, 5000));
  EXPECT_TRUE(kept != nullptr && kept[63] == 0xAB);
  EXPECT_TRUE(destroyHeap(heap));
  EXPECT_FALSE(destroyHeap(processHeap())) << "the process heap stays";
}

// Progress messages reach the function behind a window value, both arguments and its answer:
// a message-only window of the thread on Windows, a sink registered with the platform
// elsewhere.
TEST(MessageContract, ReachesTheFunctionBehindTheWindow) {
  const MessageReceiver receiver([](uint32_t, uint32_t, uintptr_t wparam, intptr_t lparam) {
    return intptr_t(wparam) * 1000 + lparam;
  });
  EXPECT_EQ(sendMessage(receiver.window(), 0x401, 7, 70), 7070);
  EXPECT_EQ(sendMessage(receiver.window(), 0x402, 8, -1), 7999);
}

// The test's own key, holding the values its rows set.
class RegistryContract : public RegistryFixture {
 protected:
  bool set(const std::string& name, uint32_t type, const std::string& bytes) const {
    RegKey key = openTestKey(RegAccess::kWrite);
    bool ok = regSetValue(key, name.c_str(), type, bytes.data(), uint32_t(bytes.size()));
    regCloseKey(key);
    return ok;
  }
  std::string query(const std::string& name) const {
    return readValue(openTestKey(RegAccess::kRead), name.c_str());
  }
};

TEST_F(RegistryContract, ValuesKeepTheirTypeAndStoredSizeWhateverTheNameCase) {
  const std::vector<CaseRow> rows = caseTable("platform/registry_values.txt");
  std::string lines;
  for (const CaseRow& c : rows) lines += c.fields[0] + "\r\n";
  writeDictKey(lines);
  RegKey key = openTestKey(RegAccess::kRead);
  for (const CaseRow& c : rows) {
    SCOPED_TRACE(c.line);
    const std::string stored = *c.bytes(3);
    const char* name = c.fields[1].c_str();
    uint32_t type = 0, size = 0;
    ASSERT_TRUE(regQueryValue(key, name, &type, nullptr, &size));
    EXPECT_EQ(size, stored.size()) << "the size alone";
    std::string buffer(stored.size(), '#');
    size = uint32_t(stored.size() - 1);
    EXPECT_FALSE(regQueryValue(key, name, &type, buffer.data(), &size)) << "one byte short";
    EXPECT_EQ(size, stored.size());
    ASSERT_TRUE(regQueryValue(key, name, &type, buffer.data(), &size)) << "exactly the size";
    EXPECT_EQ(type, c.number(2));
    EXPECT_EQ(buffer, stored);
  }
  uint32_t size = 8, count = 0;
  char name[64], data[8];
  EXPECT_FALSE(regQueryValue(key, "absent", nullptr, data, &size));
  while (regEnumValue(key, count, name, sizeof name, nullptr, nullptr, &size)) ++count;
  EXPECT_EQ(count, rows.size());
  regCloseKey(key);
}

TEST_F(RegistryContract, KeysAreOpenedNeverCreatedAndWritesAreSeenAtOnce) {
  writeDictKey("\"Path\"=\"one\"\r\n");
  EXPECT_EQ(openTestKey(RegAccess::kRead, "\\Missing"), nullptr);
  EXPECT_EQ(openTestKey(RegAccess::kWrite, "\\Missing"), nullptr);
  EXPECT_EQ(openTestKey(RegAccess::kRead, "\\Missing"), nullptr) << "opening did not create it";
  EXPECT_EQ(regOpenKey(0x12345678u, testKeyPath(), RegAccess::kRead), nullptr);
  ASSERT_TRUE(set("Path", kRegSz, std::string("second\0", 7)));
  EXPECT_EQ(query("Path"), std::string("second\0", 7));
  EXPECT_EQ(query("path"), std::string("second\0", 7)) << "one value, whatever the case";
  ASSERT_TRUE(regCreateKey(testKeyRoot(), (std::string(testKeyPath()) + "\\Below").c_str()));
  RegKey key = openTestKey(RegAccess::kWrite, "\\Below");
  EXPECT_NE(key, nullptr);
  regCloseKey(key);
}

TEST_F(RegistryContract, WritersInTwoProcessesBothLand) {
  writeDictKey("");
  const std::string root = std::to_string(testKeyRoot());
  ChildProcess child("platform_child", {"set-values", root, testKeyPath(), "child", "40"});
  auto dword = [](int i) { return std::string(1, char(i)) + std::string(3, '\0'); };
  for (int i = 0; i < 40; ++i) EXPECT_TRUE(set("parent" + std::to_string(i), kRegDword, dword(i)));
  EXPECT_EQ(child.wait(), 0);
  for (int i = 0; i < 40; ++i) {
    for (const char* who : {"child", "parent"})
      EXPECT_EQ(query(who + std::to_string(i)), dword(i)) << who << i;
  }
}

// The named mutex, with a name no other test process uses; the other process takes it
// first, and holds it until told to let go, saying so before it does; or dies holding it.
class MutexContract : public ::testing::Test {
 protected:
  void takeAndRelease() {
    MutexHandle mutex = openOrCreateMutex(name_.c_str());
    ASSERT_NE(mutex, nullptr);
    writeFileBytes(signals_.file("proceed"), "");
    waitMutex(mutex);
    releaseMutex(mutex);
    closeMutex(mutex);
  }
  TempDir signals_;
  const std::string name_ =
      "OrviaDicTest " + std::filesystem::path(signals_.path()).filename().string();
};

TEST_F(MutexContract, ExcludesAnotherProcess) {
  ChildProcess child("platform_child", {"hold-mutex", name_, signals_.path()});
  ASSERT_TRUE(child.started());
  waitUntil([&] { return fileExists(signals_.file("acquired").c_str()); });
  takeAndRelease();
  EXPECT_TRUE(fileExists(signals_.file("releasing").c_str())) << "ours only after it let go";
  EXPECT_EQ(child.wait(), 0);
}

TEST_F(MutexContract, AMutexItsOwnerDiedHoldingIsTaken) {
  ChildProcess child("platform_child", {"abandon-mutex", name_});
  EXPECT_TRUE(child.started() && child.wait() == 0);
  takeAndRelease();
}

}  // namespace
}  // namespace orvia::platform
