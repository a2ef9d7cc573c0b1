// What only the POSIX backend has: the registry kept as text hives in the registry
// editor's export format (tests/data/registry/), read again whenever another process
// replaced them; and probes that share the fault signals with the process's own handlers.
#include <signal.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <string>

#include "platform/platform.h"
#include "platform/posix/registry_text.h"
#include "support/case_table.h"
#include "support/golden.h"
#include "support/registry_fixture.h"
#include "support/text_hive.h"

namespace orvia::platform {
namespace {

using namespace orvia::testing;
using regtext::Hive;

TEST(RegistryText, ParsesValueData) {
  for (const CaseRow& c : caseTable("registry/value_data.txt")) {
    SCOPED_TRACE(c.line);
    auto value = regtext::parseValueData(c.fields.at(2));
    ASSERT_EQ(value.has_value(), c.fields[0] != "refused");
    if (!value) continue;
    EXPECT_EQ(value->type, c.number(0));
    EXPECT_EQ(value->data, *c.bytes(1));
  }
}

TEST(RegistryText, FormatsValuesAsTheEditorWritesThem) {
  for (const CaseRow& c : caseTable("registry/value_lines.txt")) {
    SCOPED_TRACE(c.line);
    const regtext::Value value{uint32_t(c.number(1)), *c.bytes(2)};
    EXPECT_EQ(regtext::formatValueLine(c.fields[0], value), c.fields.at(3));
  }
}

const char kDictKey[] = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Caldmore\\Orvia\\Tolvane\\Dict";

TEST(RegistryText, ReadsAndRewritesAHandWrittenHive) {
  const std::string text = readFileBytes(dataPath("registry/hand_written.reg"));
  auto hive = Hive::parse(text);
  ASSERT_TRUE(hive.has_value());
  EXPECT_EQ(hive->text(), text);
  for (const CaseRow& c : caseTable("registry/hand_written_values.txt")) {
    SCOPED_TRACE(c.line);
    auto value = hive->value(c.fields[0], c.fields.at(1));
    EXPECT_EQ(value ? std::make_optional(value->data) : std::nullopt, c.bytes(2));
  }
  EXPECT_TRUE(hive->keyExists("HKEY_LOCAL_MACHINE\\SOFTWARE\\Caldmore"));
  EXPECT_FALSE(hive->keyExists("HKEY_LOCAL_MACHINE\\SOFTWARE\\Cald"));
  EXPECT_FALSE(hive->keyExists("HKEY_LOCAL_MACHINE\\SOFTWARE\\Gone"));
  ASSERT_TRUE(hive->setValue(kDictKey, "type", {4, std::string("\x02\0\0\0", 4)}));
  ASSERT_TRUE(hive->setValue(kDictKey, "80010101version", {4, std::string("\x07\0\0\0", 4)}));
  EXPECT_EQ(hive->text(), readFileBytes(dataPath("registry/hand_written_set.reg")));
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

using RegistryHive = RegistryFixture;

TEST_F(RegistryHive, AMissingOrForeignHiveHasNoKeyAndStaysAsItWas) {
  EXPECT_EQ(openTestKey(RegAccess::kRead), nullptr);
  const std::string binary("\x00\x01\x02 binary", 10);
  writeHive(dir_, binary);
  EXPECT_EQ(openTestKey(RegAccess::kRead), nullptr);
  EXPECT_EQ(openTestKey(RegAccess::kWrite), nullptr);
  EXPECT_EQ(hiveText(dir_), binary);
}

// An open key reads its hive as it was when opened, so the several queries of one lookup
// see one state; the next key opened sees the change, even one of the same size that
// another writer renamed over the hive.
TEST_F(RegistryHive, AnOpenKeyReadsTheHiveAsItWasWhenOpened) {
  writeDictKey("\"Path\"=\"one\"\r\n");
  RegKey key = openTestKey(RegAccess::kRead);
  const std::string temp = dir_.file("other.tmp");
  writeFileBytes(temp, std::string(regtext::kHeaderLine) + "\r\n\r\n[" + kDictKey +
                           "]\r\n\"Path\"=\"two\"\r\n");
  ASSERT_EQ(rename(temp.c_str(), hivePath(dir_).c_str()), 0);
  EXPECT_EQ(readValue(key, "Path"), std::string("one\0", 4));
  EXPECT_EQ(readValue(openTestKey(RegAccess::kRead), "Path"), std::string("two\0", 4));
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
