// The registry store as the library sees it: open, query and set against hive files.
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <string>

#include "platform/platform.h"
#include "platform/registry_setup.h"
#include "support/registry_fixture.h"
#include "support/text_hive.h"

namespace orvia::platform {
namespace {

using orvia::testing::hivePath;
using orvia::testing::hiveText;
using orvia::testing::writeHive;

const char kKey[] = "SOFTWARE\\Caldmore\\Orvia\\Tolvane\\Dict";

class RegistryStore : public orvia::testing::RegistryFixture {
 protected:
  std::string query(const char* name, uint32_t capacity = 260) {
    RegKey key = regOpenKey(kHkeyLocalMachine, kKey, RegAccess::kRead);
    if (key == nullptr) return "<no key>";
    std::string buffer(capacity, '#');
    uint32_t size = capacity;
    bool ok = regQueryValue(key, name, nullptr, buffer.data(), &size);
    regCloseKey(key);
    return ok ? buffer.substr(0, size) : "<fail>";
  }

  bool set(const char* name, uint32_t type, const std::string& bytes) {
    RegKey key = regOpenKey(kHkeyLocalMachine, kKey, RegAccess::kWrite);
    if (key == nullptr) return false;
    bool ok = regSetValue(key, name, type, bytes.data(), uint32_t(bytes.size()));
    regCloseKey(key);
    return ok;
  }
};

TEST_F(RegistryStore, QueriesStoredBytesWhateverTheType) {
  writeDictKey("\"Path\"=\"D:\\\\Dict\"\r\n\"Type\"=dword:00000001\r\n\"t\"=hex:00,ff\r\n");
  EXPECT_EQ(query("path"), std::string("D:\\Dict\0", 8));
  EXPECT_EQ(query("TYPE"), std::string("\x01\0\0\0", 4));
  EXPECT_EQ(query("t"), std::string("\x00\xff", 2));
  EXPECT_EQ(query("Path", 7), "<fail>");  // 8 stored bytes do not fit 7
  EXPECT_EQ(query("Path", 8), std::string("D:\\Dict\0", 8));
  EXPECT_EQ(query("absent"), "<fail>");
}

TEST_F(RegistryStore, MissingOrForeignHiveHasNoKey) {
  EXPECT_EQ(regOpenKey(kHkeyLocalMachine, kKey, RegAccess::kRead), nullptr);
  writeHive(dir_, std::string("\x00\x01\x02 binary", 10));
  EXPECT_EQ(regOpenKey(kHkeyLocalMachine, kKey, RegAccess::kRead), nullptr);
  EXPECT_FALSE(set("Path", kRegSz, std::string("x\0", 2)));
  EXPECT_EQ(hiveText(dir_), std::string("\x00\x01\x02 binary", 10));
  EXPECT_EQ(regOpenKey(0x12345678u, kKey, RegAccess::kRead), nullptr);
}

TEST_F(RegistryStore, WriteNeedsAnExistingKeyAndIsSeenAtOnce) {
  writeHive(
      dir_,
      "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Other]\r\n");
  EXPECT_FALSE(set("Path", kRegSz, std::string("x\0", 2)));
  ASSERT_TRUE(regCreateKey(kHkeyLocalMachine, kKey));
  ASSERT_TRUE(set("Path", kRegSz, std::string("first\0", 6)));
  EXPECT_EQ(query("Path"), std::string("first\0", 6));
  ASSERT_TRUE(set("Path", kRegSz, std::string("second\0", 7)));
  EXPECT_EQ(query("Path"), std::string("second\0", 7));
  EXPECT_NE(hiveText(dir_).find("[HKEY_LOCAL_MACHINE\\SOFTWARE\\Other]"), std::string::npos);
}

TEST_F(RegistryStore, SeesChangesWrittenBehindItsBack) {
  writeDictKey("\"Path\"=\"one\"\r\n");
  EXPECT_EQ(query("Path"), std::string("one\0", 4));
  // Same size, new content: the rewrite by another writer replaces the file.
  std::string temp = dir_.file("other.tmp");
  orvia::testing::writeFileBytes(
      temp,
      "Windows Registry Editor Version 5.00\r\n\r\n"
      "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Caldmore\\Orvia\\Tolvane\\Dict]\r\n"
      "\"Path\"=\"two\"\r\n");
  ASSERT_EQ(rename(temp.c_str(), hivePath(dir_).c_str()), 0);
  EXPECT_EQ(query("Path"), std::string("two\0", 4));
}

// An open key reads its hive as it was when opened, so the several queries of one lookup
// see one state; the next key opened sees the change.
TEST_F(RegistryStore, AnOpenKeyReadsTheHiveAsItWasWhenOpened) {
  writeDictKey("\"Path\"=\"one\"\r\n");
  RegKey key = regOpenKey(kHkeyLocalMachine, kKey, RegAccess::kRead);
  ASSERT_NE(key, nullptr);
  ASSERT_TRUE(set("Path", kRegSz, std::string("changed\0", 8)));
  char buffer[16] = {};
  uint32_t size = sizeof buffer;
  EXPECT_TRUE(regQueryValue(key, "Path", nullptr, buffer, &size));
  EXPECT_EQ(std::string(buffer, size), std::string("one\0", 4));
  regCloseKey(key);
  EXPECT_EQ(query("Path"), std::string("changed\0", 8));
}

TEST_F(RegistryStore, ConcurrentWritersFromTwoProcessesBothLand) {
  writeDictKey("");
  constexpr int kWrites = 40;
  pid_t child = fork();
  ASSERT_GE(child, 0);
  const char* prefix = child == 0 ? "child" : "parent";
  bool allOk = true;
  for (int i = 0; i < kWrites; ++i) {
    std::string name = std::string(prefix) + std::to_string(i);
    uint8_t bytes[4] = {uint8_t(i), 0, 0, 0};
    allOk = set(name.c_str(), kRegDword, std::string(reinterpret_cast<char*>(bytes), 4)) && allOk;
  }
  if (child == 0) _exit(allOk ? 0 : 1);
  int status = 0;
  waitpid(child, &status, 0);
  ASSERT_TRUE(allOk);
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  for (int i = 0; i < kWrites; ++i) {
    for (const char* who : {"child", "parent"}) {
      std::string name = who + std::to_string(i);
      EXPECT_EQ(query(name.c_str()), std::string(1, char(i)) + std::string(3, '\0')) << name;
    }
  }
}

}  // namespace
}  // namespace orvia::platform
