// What only the POSIX backend has: the registry kept as text hives in the registry
// editor's export format (tests/data/registry/), read again whenever another process
// replaced them; and probes that share the fault signals with the process's own handlers.
#include <signal.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/posix/registry_text.h"
#include "support/golden.h"
#include "support/registry_fixture.h"
#include "support/text_hive.h"

namespace orvia::platform {
namespace {

using orvia::testing::testKeyPath;
using regtext::Hive;

std::string registryFile(const char* name) {
  return orvia::testing::readFileBytes(orvia::testing::dataPath(std::string("registry/") + name));
}

// The rows of a table in tests/data/registry/: tab-separated fields, '#' lines are notes.
std::vector<std::vector<std::string>> tableRows(const char* name) {
  std::vector<std::vector<std::string>> rows;
  std::istringstream in(registryFile(name));
  for (std::string line; std::getline(in, line);) {
    if (line.empty() || line[0] == '#') continue;
    rows.emplace_back();
    for (size_t start = 0, tab = 0; tab != std::string::npos; start = tab + 1) {
      tab = line.find('\t', start);
      rows.back().push_back(line.substr(start, tab - start));
    }
  }
  EXPECT_FALSE(rows.empty()) << name;
  return rows;
}

std::string bytesOf(const std::string& golden) {
  std::string bytes;
  EXPECT_TRUE(orvia::testing::parseGolden(golden, bytes)) << golden;
  return bytes;
}

TEST(RegistryText, ParsesValueData) {
  for (const auto& row : tableRows("value_data.txt")) {  // data, type or "refused", bytes
    SCOPED_TRACE(row[0]);
    auto value = regtext::parseValueData(row[0]);
    ASSERT_EQ(value.has_value(), row[1] != "refused");
    if (!value) continue;
    EXPECT_EQ(value->type, std::stoul(row[1]));
    EXPECT_EQ(value->data, bytesOf(row.at(2)));
  }
}

TEST(RegistryText, FormatsValuesAsTheEditorWritesThem) {
  for (const auto& row : tableRows("value_lines.txt")) {  // name, type, bytes, line
    regtext::Value value{uint32_t(std::stoul(row[1])), bytesOf(row[2])};
    EXPECT_EQ(regtext::formatValueLine(row[0], value), row.at(3));
  }
}

const char kDictKey[] = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Caldmore\\Orvia\\Tolvane\\Dict";

TEST(RegistryText, ReadsAndRewritesAHandWrittenHive) {
  const std::string text = registryFile("hand_written.reg");
  auto hive = Hive::parse(text);
  ASSERT_TRUE(hive.has_value());
  EXPECT_EQ(hive->text(), text);
  const struct {
    const char* key;
    const char* name;
    std::optional<std::string> data;
  } values[] = {
      {kDictKey, "00010101PATH", std::string("D:\\Dict\0", 8)},
      {kDictKey, "blob", std::string("\x01\x02\x03\x04")},
      {"hkey_local_machine\\software\\other", "path", std::string("elsewhere\0", 10)},
      {kDictKey, "Missing", std::nullopt},
      {kDictKey, "this line is not a value", std::nullopt},
  };
  for (const auto& row : values) {
    SCOPED_TRACE(row.name);
    auto value = hive->value(row.key, row.name);
    EXPECT_EQ(value ? std::make_optional(value->data) : std::nullopt, row.data);
  }
  EXPECT_TRUE(hive->keyExists("HKEY_LOCAL_MACHINE\\SOFTWARE\\Caldmore"));
  EXPECT_FALSE(hive->keyExists("HKEY_LOCAL_MACHINE\\SOFTWARE\\Cald"));
  EXPECT_FALSE(hive->keyExists("HKEY_LOCAL_MACHINE\\SOFTWARE\\Gone"));
  ASSERT_TRUE(hive->setValue(kDictKey, "type", {4, std::string("\x02\0\0\0", 4)}));
  ASSERT_TRUE(hive->setValue(kDictKey, "80010101version", {4, std::string("\x07\0\0\0", 4)}));
  EXPECT_EQ(hive->text(), registryFile("hand_written_set.reg"));
  EXPECT_FALSE(hive->setValue("HKEY_LOCAL_MACHINE\\SOFTWARE\\Nowhere", "x", {4, "1234"}));
}

TEST(RegistryText, RejectsWhatIsNotAHive) {
  EXPECT_FALSE(Hive::parse("").has_value());
  EXPECT_FALSE(Hive::parse("REGEDIT4\r\n").has_value());
  EXPECT_FALSE(
      Hive::parse(std::string("Windows Registry Editor Version 5.00\r\n\0x", 40)).has_value());
  EXPECT_TRUE(Hive::parse("\xEF\xBB\xBFWindows Registry Editor Version 5.00\n").has_value());
}

TEST(RegistryText, AddedKeyStartsANewSection) {
  Hive hive = Hive::empty();
  hive.addKey("HKEY_CURRENT_USER\\A\\B");
  ASSERT_TRUE(hive.setValue("HKEY_CURRENT_USER\\A\\B", "n", {1, std::string("v\0", 2)}));
  EXPECT_EQ(hive.text(),
            "Windows Registry Editor Version "
            "5.00\r\n\r\n[HKEY_CURRENT_USER\\A\\B]\r\n\"n\"=\"v\"\r\n\r\n");
  EXPECT_TRUE(hive.keyExists("HKEY_CURRENT_USER\\A"));
}

class RegistryHive : public orvia::testing::RegistryFixture {
 protected:
  RegKey open(RegAccess access) const {
    return regOpenKey(kHkeyLocalMachine, testKeyPath(), access);
  }
  // The key's Path value; closes the key.
  static std::string pathOf(RegKey key) {
    char buffer[16];
    uint32_t size = sizeof buffer;
    const bool ok = regQueryValue(key, "Path", nullptr, buffer, &size);
    regCloseKey(key);
    return ok ? std::string(buffer, size) : "<fail>";
  }
};

TEST_F(RegistryHive, AMissingOrForeignHiveHasNoKeyAndStaysAsItWas) {
  EXPECT_EQ(open(RegAccess::kRead), nullptr);
  const std::string binary("\x00\x01\x02 binary", 10);
  orvia::testing::writeHive(dir_, binary);
  EXPECT_EQ(open(RegAccess::kRead), nullptr);
  EXPECT_EQ(open(RegAccess::kWrite), nullptr);
  EXPECT_EQ(orvia::testing::hiveText(dir_), binary);
}

// An open key reads its hive as it was when opened, so the several queries of one lookup
// see one state; the next key opened sees the change, even one of the same size that
// another writer renamed over the hive.
TEST_F(RegistryHive, AnOpenKeyReadsTheHiveAsItWasWhenOpened) {
  writeDictKey("\"Path\"=\"one\"\r\n");
  RegKey key = open(RegAccess::kRead);
  const std::string temp = dir_.file("other.tmp");
  orvia::testing::writeFileBytes(temp, "Windows Registry Editor Version 5.00\r\n\r\n[" +
                                           std::string(kDictKey) + "]\r\n\"Path\"=\"two\"\r\n");
  ASSERT_EQ(rename(temp.c_str(), orvia::testing::hivePath(dir_).c_str()), 0);
  EXPECT_EQ(pathOf(key), std::string("one\0", 4));
  EXPECT_EQ(pathOf(open(RegAccess::kRead)), std::string("two\0", 4));
}

// A child process that probes (installing the probe's fault handler), then faults for
// real; returns its wait status.
int faultAfterProbing(void (*before)()) {
  pid_t child = fork();
  if (child == 0) {
    before();
    installProbeFaultHandlers();
    char byte = 0;
    isWritable(&byte, 1);
    EXPECT_FALSE(isReadable(reinterpret_cast<void*>(uintptr_t(8)), 1));
    *static_cast<volatile char*>(
        mmap(nullptr, 4096, PROT_READ, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0)) = 1;
    _exit(0);
  }
  int status = 0;
  waitpid(child, &status, 0);
  return status;
}

TEST(Probes, FaultsOutsideAProbeReachTheEarlierHandler) {
  int status = faultAfterProbing([] {
    struct sigaction action = {};
    action.sa_handler = [](int) { _exit(42); };
    sigaction(SIGSEGV, &action, nullptr);
  });
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 42);
  status = faultAfterProbing([] { signal(SIGSEGV, SIG_DFL); });
  EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGSEGV);
}

// The POSIX heap knows its blocks: one freed already is not freed again.
TEST(Heaps, APrivateHeapRefusesABlockItNoLongerHolds) {
  HeapHandle heap = createHeap(0);
  void* block = heapAlloc(heap, 8);
  EXPECT_TRUE(heapFree(heap, block));
  EXPECT_FALSE(heapFree(heap, block));
  EXPECT_TRUE(destroyHeap(heap));
}

}  // namespace
}  // namespace orvia::platform
