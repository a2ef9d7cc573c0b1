// What only the POSIX backend has: the registry kept as text hives in the registry
// editor's export format (tests/data/registry/), read again whenever another process
// replaced them, and left by users and other tools exported in UTF-16LE or edited by hand
// with values continued across lines (whatever the library sets reads back, and every
// other value and every line it did not change stays as it was); probes that share the
// fault signals with the process's own handlers; and the named mutex's lock file, which
// every user of the machine can open and no symbolic link can redirect.
#include <signal.h>
#include <strings.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "platform/platform.h"
#include "platform/posix/registry_encoding.h"
#include "platform/posix/registry_text.h"
#include "support/case_table.h"
#include "support/golden.h"
#include "support/registry_fixture.h"
#include "support/text_hive.h"

namespace orvia::platform::regtext {
namespace {

using namespace orvia::testing;

TEST(RegistryText, ParsesValueData) {
  for (const CaseRow& c : caseTable("registry/value_data.txt")) {
    SCOPED_TRACE(c.line);
    auto value = parseValueData(c.fields.at(2));
    ASSERT_EQ(value.has_value(), c.fields[0] != "refused");
    if (!value) continue;
    EXPECT_EQ(value->type, c.number(0));
    EXPECT_EQ(value->data, *c.bytes(1));
  }
}

TEST(RegistryText, FormatsValuesAsTheEditorWritesThem) {
  for (const CaseRow& c : caseTable("registry/value_lines.txt")) {
    SCOPED_TRACE(c.line);
    const Value value{uint32_t(c.number(1)), *c.bytes(2)};
    EXPECT_EQ(formatValueLine(c.fields[0], value), c.fields.at(3));
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
  for (const CaseRow& c : caseTable("registry/foreign_hives.txt")) {
    SCOPED_TRACE(c.line);
    const std::string file = *c.bytes(1);
    EXPECT_EQ(Hive::parse(file).has_value(), c.number(2) == 1);
    writeHive(dir_, file);
    EXPECT_EQ(openTestKey(RegAccess::kRead), nullptr);
    EXPECT_EQ(openTestKey(RegAccess::kWrite), nullptr);
    EXPECT_EQ(hiveText(dir_), file);
  }
}

// An open key reads its hive as it was when opened, so the several queries of one lookup
// see one state; the next key opened sees the change, even one of the same size that
// another writer renamed over the hive.
TEST_F(RegistryHive, AnOpenKeyReadsTheHiveAsItWasWhenOpened) {
  writeDictKey("\"Path\"=\"one\"\r\n");
  RegKey key = openTestKey(RegAccess::kRead);
  const std::string temp = dir_.file("other.tmp");
  writeFileBytes(temp,
                 std::string(kHeaderLine) + "\r\n\r\n[" + kDictKey + "]\r\n\"Path\"=\"two\"\r\n");
  ASSERT_EQ(rename(temp.c_str(), hivePath(dir_).c_str()), 0);
  EXPECT_EQ(readValue(key, "Path"), std::string("one\0", 4));
  EXPECT_EQ(readValue(openTestKey(RegAccess::kRead), "Path"), std::string("two\0", 4));
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

using Data = std::optional<std::string>;
const std::string kRoot = "HKEY_LOCAL_MACHINE\\SOFTWARE\\T\\";
const std::vector<std::string> kKeys = {kRoot + "A", kRoot + "B", kRoot + "A\\Sub", kRoot + "New"};
const std::vector<std::string> kNames = {"", "n1", "N2", "q\"uote", "back\\slash", "é"};

Data read(const Hive& hive, const std::string& key, const std::string& name) {
  auto value = hive.value(key, name);
  return value ? Data(value->data) : std::nullopt;
}

std::vector<std::string> linesOf(const std::string& file) {
  const std::string text = isUtf16le(file) ? *utf8FromUtf16le(file) : file;
  std::vector<std::string> lines;
  for (size_t start = 0, end = 0; start < text.size(); start = end) {
    end = std::min(text.find('\n', start), text.size() - 1) + 1;
    lines.push_back(text.substr(start, end - start));
  }
  return lines;
}

// Parse, create the key, set the value, write, parse again: the value reads back, every
// other key and value reads as before, and the lines are the file's but for one replaced
// value entry and at most four new lines (a last line may gain its line end).
void expectSetChangesNothingElse(const std::string& file, const std::string& key,
                                 const std::string& name, const Value& set) {
  auto hive = Hive::parse(file);
  ASSERT_TRUE(hive.has_value());
  ASSERT_EQ(hive->text(), file);
  Hive changed = *hive;
  ASSERT_TRUE(changed.addKey(key));
  const bool done = changed.setValue(key, name, set);
  EXPECT_EQ(done, name.find('\n') == std::string::npos);
  auto again = Hive::parse(changed.text());
  ASSERT_TRUE(again.has_value());
  EXPECT_EQ(isUtf16le(changed.text()), isUtf16le(file));
  for (const std::string& k : kKeys) {
    EXPECT_EQ(again->keyExists(k), hive->keyExists(k) || (key + "\\").rfind(k + "\\", 0) == 0) << k;
    for (const std::string& n : kNames) {
      const bool target = done && k == key && strcasecmp(n.c_str(), name.c_str()) == 0;
      EXPECT_EQ(read(*again, k, n), target ? Data(set.data) : read(*hive, k, n)) << k << " " << n;
    }
  }
  auto a = linesOf(file), b = linesOf(changed.text());
  auto same = [](const std::string& old, const std::string& now) {
    return now == old || (old.back() != '\n' && now.compare(0, old.size(), old) == 0 &&
                          now.find_first_not_of("\r\n", old.size()) == std::string::npos);
  };
  size_t p = 0, s = 0;
  while (p < a.size() && p < b.size() && same(a[p], b[p])) ++p;
  while (s < a.size() - p && s < b.size() - p && a[a.size() - 1 - s] == b[b.size() - 1 - s]) ++s;
  EXPECT_LE(b.size() - p - s, 4u);
  std::string replaced = "Windows Registry Editor Version 5.00\n[K]\n";
  for (size_t i = p; i < a.size() - s; ++i) replaced += a[i];
  auto entry = Hive::parse(replaced);
  ASSERT_TRUE(entry.has_value());
  EXPECT_EQ(entry->values("K").size(), p + s < a.size() ? 1u : 0u) << replaced;
}

TEST_F(RegistryHive, AUtf16HiveIsReadAndWrittenBackInUtf16) {
  writeHive(dir_, goldenBytes("registry/utf16_hive.hex"));
  RegKey key = regOpenKey(kHkeyLocalMachine, testKeyPath(), RegAccess::kRead);
  char data[16];
  uint32_t size = sizeof data;
  ASSERT_TRUE(regQueryValue(key, "Smile", nullptr, data, &size));
  EXPECT_EQ(std::string(data, size), std::string("\xF0\x9F\x98\x80", 5));
  regCloseKey(key);
  key = regOpenKey(kHkeyLocalMachine, testKeyPath(), RegAccess::kWrite);
  EXPECT_TRUE(regSetValue(key, "Path", 1, "X", 2));
  EXPECT_TRUE(regSetValue(key, "Count", 4, "\x07\0\0\0", 4));
  regCloseKey(key);
  EXPECT_EQ(hiveText(dir_), goldenBytes("registry/utf16_hive_set.hex"));
}

// The key and value set after a dangling continuation stay apart from it.
TEST(HandEditedHive, AContinuationEndsWhereTheValueVisiblyEnds) {
  for (const CaseRow& c : caseTable("registry/continuations.txt")) {
    SCOPED_TRACE(c.line);
    EXPECT_EQ(read(*Hive::parse(*c.bytes(0)), c.fields[1], c.fields[2]), c.bytes(3));
    expectSetChangesNothingElse(*c.bytes(0), kKeys[3], "N2", {1, std::string("a\r\nb\0", 5)});
  }
}

// Random hand-edited hives, in both encodings, each given one random change.
TEST(HandEditedHive, SettingOneValueChangesNothingElse) {
  std::vector<std::string> kLines;
  std::istringstream file(readFileBytes(dataPath("registry/hand_edit_lines.txt")));
  for (std::string line; std::getline(file, line);)
    if (line.rfind('#', 0) != 0) kLines.push_back(line);
  std::mt19937 random(20261207);
  auto pick = [&](size_t n) { return size_t(random() % n); };
  for (int round = 0; round < 400; ++round) {
    const bool utf16 = pick(3) == 0;
    const std::string nl = pick(2) ? "\r\n" : "\n";
    std::string text = std::string(utf16 || pick(4) == 0 ? "\xEF\xBB\xBF" : "") +
                       "Windows Registry Editor Version 5.00" + nl;
    for (size_t line = 0, lines = pick(14); line < lines; ++line) {
      text += pick(4) ? kLines[pick(kLines.size())] : "[" + kKeys[pick(3)] + "]";
      if (line + 1 < lines || pick(2)) text += nl;
    }
    std::string bytes;
    for (size_t i = 0, n = pick(6); i < n; ++i) bytes += "a\r\n\"\\\xC3\xA9\xFF"[pick(8)];
    const std::string name = pick(8) ? kNames[pick(kNames.size())] : "line\nbreak";
    SCOPED_TRACE(::testing::Message() << "round " << round << "\n" << text);
    expectSetChangesNothingElse(utf16 ? *utf16leFromUtf8(text) : text, kKeys[pick(4)], name,
                                {pick(2) ? 1u : 3u, bytes + '\0'});
  }
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

TEST(NamedMutexFile, IsReadableAndWritableByEveryoneWhateverTheUmask) {
  LockFileName lock;
  const mode_t umaskBefore = umask(077);
  MutexHandle mutex = openOrCreateMutex(lock.name.c_str());
  umask(umaskBefore);
  ASSERT_NE(mutex, nullptr);
  struct stat status = {};
  ASSERT_EQ(stat(lock.path.c_str(), &status), 0);
  EXPECT_EQ(status.st_mode & 0777, 0666u);
  closeMutex(mutex);
}

TEST(NamedMutexFile, IsNeverOpenedThroughASymbolicLink) {
  LockFileName lock;
  const std::string target = lock.dir.file("planted");
  ASSERT_EQ(symlink(target.c_str(), lock.path.c_str()), 0);
  EXPECT_EQ(openOrCreateMutex(lock.name.c_str()), nullptr);
  EXPECT_FALSE(std::filesystem::exists(target)) << "nothing created where the link points";
}

}  // namespace
}  // namespace orvia::platform
