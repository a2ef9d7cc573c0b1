// Module state, registry primitives, the new-word version and time values, and the
// version parse.

#include <gtest/gtest.h>

#include <cstring>

#include "config_fixture.h"
#include "dict/version.h"
#include "support/heap_failures.h"
#include "support/text_hive.h"
#include "support/version_block.h"

namespace orvia::dict {
namespace {

using orvia::testing::hiveText;
using orvia::testing::writeHive;

using orvia::testing::ConfigFixture;

class ModuleConfig : public ConfigFixture {};

TEST_F(ModuleConfig, LoadReadsTypeAndSetRegKeySwitchesRoot) {
  writeDictKey("\"Type\"=dword:00000000\r\n");
  reload();
  EXPECT_EQ(moduleState().serverDataMode, 0u);
  orvia::testing::writeFileBytes(dir_.file("HKEY_CURRENT_USER.reg"),
                                 "Windows Registry Editor Version 5.00\r\n\r\n"
                                 "[HKEY_CURRENT_USER\\Other\\Key]\r\n\"Type\"=dword:00000005\r\n");
  ASSERT_EQ(setRegistryKey(platform::kHkeyCurrentUser, "Other\\Key"), 1);
  EXPECT_EQ(moduleState().serverDataMode, 5u);
  EXPECT_STREQ(moduleState().registryPath, "Other\\Key");

  // The same path again keeps its copy but still switches the root and rereads "Type".
  const char* copy = moduleState().registryPath;
  ASSERT_EQ(setRegistryKey(platform::kHkeyLocalMachine, "Other\\Key"), 1);
  EXPECT_EQ(moduleState().registryPath, copy);
  EXPECT_EQ(moduleState().registryRoot, platform::kHkeyLocalMachine);
  EXPECT_EQ(moduleState().serverDataMode, 0u);  // no such key under the machine root
}

TEST_F(ModuleConfig, SetRegKeyKeepsEverythingWhenTheCopyFails) {
  testing::injectAllocationFailure(1);
  EXPECT_EQ(setRegistryKey(platform::kHkeyCurrentUser, "New\\Path"), 0);
  testing::injectAllocationFailure(0);
  EXPECT_STREQ(moduleState().registryPath, kDefaultRegistryPath);
  EXPECT_EQ(moduleState().registryRoot, platform::kHkeyLocalMachine);
}

TEST_F(ModuleConfig, LoadFailsWhenThePathCannotBeCopied) {
  moduleUnload();
  testing::injectAllocationFailure(1);
  EXPECT_FALSE(moduleLoad(nullptr));
  testing::injectAllocationFailure(0);
  EXPECT_FALSE(moduleState().loaded);
}

TEST_F(ModuleConfig, TypeLargerThanFourBytesIsIgnored) {
  writeDictKey("\"Type\"=hex:01,00,00,00,00\r\n");
  reload();
  EXPECT_EQ(moduleState().serverDataMode, 0u);
}

TEST_F(ModuleConfig, ReadValueTooLargeForTheBufferClearsOnlyItsFirstByte) {
  writeDictKey("\"Path\"=\"abc\"\r\n");
  char buffer[4] = {'x', 'x', 'x', 'x'};
  EXPECT_EQ(regReadValue(buffer, 2, "Path", platform::kRegSz), 0);
  EXPECT_EQ(buffer[0], '\0');
  EXPECT_EQ(buffer[1], 'x');
  ASSERT_EQ(regReadValue(buffer, 4, "Path", platform::kRegSz), 1);
  EXPECT_STREQ(buffer, "abc");
}

TEST_F(ModuleConfig, NewWordVersionAndTime) {
  writeDictKey("\"FF010203version\"=dword:00000009\r\n");
  uint32_t version = 0;
  EXPECT_EQ(readNewWordVersion(0x00010203, &version), 0);  // kind 0 has no version
  EXPECT_EQ(version, 0xFFFFFFFFu);
  EXPECT_EQ(readNewWordVersion(0x01000203, &version), 0);  // invalid id
  EXPECT_EQ(version, 0xFFFFFFFFu);
  EXPECT_EQ(readNewWordVersion(0x80010203, &version), 0);  // missing value
  EXPECT_EQ(version, 0xFFFFFF00u);
  EXPECT_EQ(readNewWordVersion(0xFF010203, &version), 1);
  EXPECT_EQ(version, 9u);

  std::string before = hiveText(dir_);
  EXPECT_EQ(writeNewWordVersion(0x80010203, 256), 0);
  EXPECT_EQ(hiveText(dir_), before);
  ASSERT_EQ(writeNewWordVersion(0x80010203, 255), 1);
  ASSERT_EQ(readNewWordVersion(0x80010203, &version), 1);
  EXPECT_EQ(version, 255u);

  uint8_t time[16], back[16];
  for (int i = 0; i < 16; ++i) time[i] = uint8_t(0xF0 + i);
  EXPECT_EQ(readNewWordTime(0x80010203, back), 0);
  ASSERT_EQ(writeNewWordTime(0x80010203, time), 1);
  ASSERT_EQ(readNewWordTime(0x80010203, back), 1);
  EXPECT_EQ(std::memcmp(time, back, 16), 0);
  EXPECT_EQ(writeNewWordTime(0x00010203, time), 0);
}

TEST_F(ModuleConfig, WritesNeedTheKey) {
  writeHive(dir_, "Windows Registry Editor Version 5.00\r\n");
  EXPECT_EQ(writeNewWordVersion(0x80010203, 1), 0);
  EXPECT_EQ(hiveText(dir_), "Windows Registry Editor Version 5.00\r\n");
}

TEST(FileVersion, PacksCommaSeparatedComponents) {
  struct Case {
    std::string text;
    uint32_t length;  // characters reported, terminator included
    uint32_t expected;
  };
  const Case cases[] = {
      {std::string("2, 0, 1, 15\0", 12), 12, 0x0200010F},
      {std::string("1.2.3.4\0", 8), 8, 0xD2},
      {std::string("1,2,3,4,5\0", 10), 10, 0x02030405},
      {std::string("256,1\0", 6), 6, 0x0001},  // components wrap at 8 bits
      {std::string("1,2,3\0", 6), 5, 0x0102},  // cut before the terminator: last is lost
      {std::string("7\0junk,9", 8), 8, 0x07},  // the terminator ends the parse
      {std::string("", 0), 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(parseFileVersion(c.text.data(), c.length), c.expected);
  }
}

TEST(FileVersion, NeedsExactlyOneTranslation) {
  auto one = testing::makeVersionBlock({0x04B00409u}, "3, 1, 4, 1");
  EXPECT_EQ(versionFromBlock(one.data()), 0x03010401u);
  auto two = testing::makeVersionBlock({0x04B00409u, 0x04E40407u}, "3, 1, 4, 1");
  EXPECT_EQ(versionFromBlock(two.data()), 0u);
  auto none = testing::makeVersionBlock({}, "3, 1, 4, 1");
  EXPECT_EQ(versionFromBlock(none.data()), 0u);
}

}  // namespace
}  // namespace orvia::dict
