// Module state, registry values, path resolution, the new-word version and time values,
// and the version parse. The registry is read as the test's own hive files (POSIX paths).
#include <gtest/gtest.h>

#include <cstring>

#include "dict/version.h"
#include "support/case_table.h"
#include "support/dictionary_fixtures.h"
#include "support/golden.h"
#include "support/text_hive.h"

namespace orvia::dict {
namespace {

using namespace orvia::testing;

// A value line of the test's key: "dword:" and "hex:" values as written, others as strings.
std::string valueLine(const std::string& item) {
  const size_t at = item.find('=');
  const std::string name = item.substr(0, at), value = item.substr(at + 1);
  if (value.rfind("dword:", 0) == 0 || value.rfind("hex:", 0) == 0)
    return "\"" + name + "\"=" + value + "\r\n";
  std::string escaped;
  for (char c : value) escaped += c == '\\' ? std::string("\\\\") : std::string(1, c);
  return "\"" + name + "\"=\"" + escaped + "\"\r\n";
}

class ModuleConfig : public ConfigFixture {};

// The path buffer holds no zero but its last byte, so that a directory read without its
// terminator shows.
TEST_F(ModuleConfig, PathResolutionTable) {
  forEachCase("dict/path_resolution.txt", [&](const CaseRow& c) {
    std::string values;
    for (const std::string& item : c.list(2)) values += item.empty() ? "" : valueLine(item);
    writeDictKey(values);
    reload();
    char out[kMaxPath];
    std::fill(out, out + kMaxPath - 1, 'x');
    out[kMaxPath - 1] = '\0';
    const auto resolve = c.fields[1] == "shared" ? resolveSharedDataPath : resolveDictFilePath;
    EXPECT_EQ(resolve(uint32_t(c.number(3)), out, sizeof out, c.bytes(4)->c_str()), c.number(5));
    EXPECT_EQ(std::string(out), c.bytes(6).value_or(out));
  });
}

TEST_F(ModuleConfig, SetRegKeyReadsAType) {
  writeFileBytes(dir_.file("HKEY_CURRENT_USER.reg"),
                 "Windows Registry Editor Version 5.00\r\n\r\n"
                 "[HKEY_CURRENT_USER\\Other\\Key]\r\n\"Type\"=dword:00000005\r\n");
  ASSERT_EQ(setRegistryKey(platform::kHkeyCurrentUser, "Other\\Key"), 1);
  EXPECT_EQ(moduleState().serverDataMode, 5u);
  EXPECT_STREQ(moduleState().registryPath, "Other\\Key");
}

TEST_F(ModuleConfig, NewWordVersionAndTime) {
  writeDictKey("\"FF010203version\"=dword:00000009\r\n");
  uint8_t time[16], back[16] = {};
  for (int i = 0; i < 16; ++i) time[i] = uint8_t(0xF0 + i);
  forEachCase("dict/new_words.txt", [&](const CaseRow& c) {
    const std::string& op = c.fields[0];
    const uint32_t id = uint32_t(c.number(1));
    const std::string before = hiveText(dir_);
    uint32_t version = 0;
    EXPECT_EQ(op == "read"        ? readNewWordVersion(id, &version)
              : op == "write"     ? writeNewWordVersion(id, uint32_t(c.number(2)))
              : op == "read time" ? readNewWordTime(id, back)
                                  : writeNewWordTime(id, time),
              c.number(3));
    EXPECT_TRUE(op != "read" || version == c.number(4)) << version;
    EXPECT_TRUE(op != "read time" || c.number(3) == 0 || std::memcmp(time, back, 16) == 0);
    EXPECT_TRUE(c.number(3) == 1 || hiveText(dir_) == before) << "a refused write wrote";
  });
  // Writes need the key.
  writeHive(dir_, "Windows Registry Editor Version 5.00\r\n");
  EXPECT_EQ(writeNewWordVersion(0x80010203, 1), 0);
  EXPECT_EQ(hiveText(dir_), "Windows Registry Editor Version 5.00\r\n");
}

TEST(FileVersion, PacksCommaSeparatedComponents) {
  for (const CaseRow& c : caseTable("dict/file_versions.txt")) {
    EXPECT_EQ(parseFileVersion(c.bytes(0)->data(), uint32_t(c.number(1))), c.number(2)) << c.line;
  }
  forEachCase("dict/version_blocks.txt", [&](const CaseRow& c) {
    EXPECT_EQ(versionFromBlock(goldenBytes("dict/" + c.fields[0]).data()), c.number(1));
  });
}

}  // namespace
}  // namespace orvia::dict
