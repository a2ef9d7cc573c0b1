// What only the POSIX backend has: the registry kept as text hives in the registry
// editor's export format (tests/data/registry/), read again whenever another process
// replaced them, and left by users and other tools exported in UTF-16LE or edited by hand
// with values continued across lines; probes that share the fault signals with the
// process's own handlers; and the named mutex's lock file, which every user of the machine
// can open and no symbolic link can redirect.
#include <signal.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>

#include "platform/platform.h"
#include "platform/posix/registry_text.h"
#include "support/case_table.h"
#include "support/golden.h"
#include "support/registry_fixture.h"
#include "support/text_hive.h"

namespace orvia::platform::regtext {
namespace {

using namespace orvia::testing;

TEST(RegistryText, ParsesValueData) {
  forEachCase("registry/value_data.txt", [&](const CaseRow& c) {
    auto value = parseValueData(c.fields.at(2));
    ASSERT_EQ(value.has_value(), c.fields[0] != "refused");
    if (!value) return;
    EXPECT_EQ(value->type, c.number(0));
    EXPECT_EQ(value->data, *c.bytes(1));
  });
}

TEST(RegistryText, FormatsValuesAsTheEditorWritesThem) {
  forEachCase("registry/value_lines.txt", [&](const CaseRow& c) {
    const Value value{uint32_t(c.number(1)), *c.bytes(2)};
    EXPECT_EQ(formatValueLine(c.fields[0], value), c.fields.at(3));
  });
}

const char kDictKey[] = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Caldmore\\Orvia\\Tolvane\\Dict";

TEST(RegistryText, ReadsAndRewritesAHandWrittenHive) {
  const std::string text = readFileBytes(dataPath("registry/hand_written.reg"));
  auto hive = Hive::parse(text);
  ASSERT_TRUE(hive.has_value());
  EXPECT_EQ(hive->text(), text);
  forEachCase("registry/hand_written_values.txt", [&](const CaseRow& c) {
    auto value = hive->value(c.fields[0], c.fields.at(1));
    EXPECT_EQ(value ? std::make_optional(value->data) : std::nullopt, c.bytes(2));
  });
  EXPECT_TRUE(hive->keyExists("HKEY_LOCAL_MACHINE\\SOFTWARE\\Caldmore"));
  EXPECT_FALSE(hive->keyExists("HKEY_LOCAL_MACHINE\\SOFTWARE\\Cald"));
  EXPECT_FALSE(hive->keyExists("HKEY_LOCAL_MACHINE\\SOFTWARE\\Gone"));
  ASSERT_TRUE(hive->setValue(kDictKey, "type", {4, std::string("\x02\0\0\0", 4)}));
  ASSERT_TRUE(hive->setValue(kDictKey, "80010101version", {4, std::string("\x07\0\0\0", 4)}));
  const std::string kNew = "HKEY_CURRENT_USER\\A\\B";
  EXPECT_FALSE(hive->setValue(kNew, "n", {1, std::string("v\0", 2)})) << "no such key yet";
  ASSERT_TRUE(hive->addKey(kNew));
  EXPECT_TRUE(hive->keyExists("HKEY_CURRENT_USER\\A"));
  ASSERT_TRUE(hive->setValue(kNew, "n", {1, std::string("v\0", 2)}));
  EXPECT_EQ(hive->text(), readFileBytes(dataPath("registry/hand_written_set.reg")));
}

using RegistryHive = RegistryFixture;

TEST_F(RegistryHive, AMissingOrForeignHiveHasNoKeyAndStaysAsItWas) {
  EXPECT_EQ(openTestKey(RegAccess::kRead), nullptr);
  forEachCase("registry/foreign_hives.txt", [&](const CaseRow& c) {
    const std::string file = *c.bytes(1);
    EXPECT_EQ(Hive::parse(file).has_value(), c.number(2) == 1);
    writeHive(dir_, file);
    EXPECT_EQ(openTestKey(RegAccess::kRead), nullptr);
    EXPECT_EQ(openTestKey(RegAccess::kWrite), nullptr);
    EXPECT_EQ(hiveText(dir_), file);
  });
}

// A child process that runs before, probes (installing the probe's fault handler), runs
// then, probes an unreadable address and faults for real; returns its wait status. The
// program's own handler exits 42 for the real fault, 41 for a probe's.
volatile sig_atomic_t gProbeReturned = 0;
void programHandler() {
  struct sigaction action = {};
  action.sa_handler = [](int) { _exit(gProbeReturned ? 42 : 41); };
  sigaction(SIGSEGV, &action, nullptr);
}
int faultAfterProbing(
    void (*before)(), void (*then)() = [] {}) {
  pid_t child = fork();
  if (child == 0) {
    before();
    installProbeFaultHandlers();
    char byte = 0;
    isWritable(&byte, 1);
    then();
    if (isReadable(reinterpret_cast<void*>(uintptr_t(8)), 1)) _exit(3);
    gProbeReturned = 1;
    *static_cast<volatile char*>(
        mmap(nullptr, 4096, PROT_READ, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0)) = 1;
    _exit(0);
  }
  int status = 0;
  waitpid(child, &status, 0);
  return status;
}

// A handler the program installs before the first probe stays behind the probe's and
// gets every real fault. One installed after it replaces the probe's: probes are not
// re-armed (that would cost two system calls a probe), so that program's handler gets
// the probe's fault too, as the header says.
TEST(Probes, FaultsOutsideAProbeReachTheProgramsHandler) {
  EXPECT_EQ(faultAfterProbing(programHandler), 42 << 8);
  EXPECT_EQ(faultAfterProbing([] {}, programHandler), 41 << 8);
  const int status = faultAfterProbing([] { signal(SIGSEGV, SIG_DFL); });
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

TEST_F(RegistryHive, AUtf16HiveIsReadAndWrittenBackInUtf16) {
  writeHive(dir_, goldenBytes("registry/utf16_hive.hex"));
  EXPECT_EQ(readValue(openTestKey(RegAccess::kRead), "Smile"), std::string("\xF0\x9F\x98\x80", 5));
  RegKey key = openTestKey(RegAccess::kWrite);
  EXPECT_TRUE(regSetValue(key, "Path", 1, "X", 2));
  EXPECT_TRUE(regSetValue(key, "Count", 4, "\x07\0\0\0", 4));
  regCloseKey(key);
  EXPECT_EQ(hiveText(dir_), goldenBytes("registry/utf16_hive_set.hex"));
}

// What follows a dangling continuation stays apart from it. (That setting a value changes
// no other is the registry text fuzz target's property, over hand-edited hives in its corpus.)
TEST(HandEditedHive, AContinuationEndsWhereTheValueVisiblyEnds) {
  forEachCase("registry/continuations.txt", [&](const CaseRow& c) {
    auto value = Hive::parse(*c.bytes(0))->value(c.fields[1], c.fields[2]);
    EXPECT_EQ(value ? std::make_optional(value->data) : std::nullopt, c.bytes(3));
  });
}

}  // namespace
}  // namespace orvia::platform::regtext

namespace orvia::platform {
namespace {

// A mutex name no other test uses, and the lock file the backend derives from it.
struct LockFileName {
  orvia::testing::TempDir dir;
  std::string name = "OrviaDicTest " + std::filesystem::path(dir.path()).filename().string();
  std::string path = "/tmp/" + name + ".lock";
  ~LockFileName() { unlink(path.c_str()); }
};

// Every user of the machine can open the lock file, and no symbolic link redirects it.
TEST(NamedMutexFile, IsSharedByEveryUserAndNeverOpenedThroughALink) {
  LockFileName lock, linked;
  const mode_t umaskBefore = umask(077);
  MutexHandle mutex = openOrCreateMutex(lock.name.c_str());
  umask(umaskBefore);
  ASSERT_NE(mutex, nullptr);
  struct stat status = {};
  ASSERT_EQ(stat(lock.path.c_str(), &status), 0);
  EXPECT_EQ(status.st_mode & 0777, 0666u) << "whatever the umask";
  closeMutex(mutex);
  const std::string target = linked.dir.file("planted");
  ASSERT_EQ(symlink(target.c_str(), linked.path.c_str()), 0);
  EXPECT_EQ(openOrCreateMutex(linked.name.c_str()), nullptr);
  EXPECT_FALSE(std::filesystem::exists(target)) << "nothing created where the link points";
}

}  // namespace
}  // namespace orvia::platform
