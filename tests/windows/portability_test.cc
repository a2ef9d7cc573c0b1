// Files are byte-for-byte portable between the Linux and Windows builds. The expected
// files in tests/windows/data were made on Linux by make_fixtures.sh:
// - linux_dictionary/: a dictionary compiled by the Linux tool, with the listing of
//   every record (key, word, level, content) the Linux build reads from it;
// - store_written/: the index the store writes for a fixed run of operations, which every
//   build must write byte for byte, so an index the Windows build writes is one the Linux
//   build reads, and the reverse.
// With ORVIADIC_UPDATE_FIXTURES set, the tests write those files instead of comparing.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "support/store_records.h"
#include "orviadb.h"
#include "orviadic.h"
#include "platform/platform.h"
#include "platform/registry_setup.h"
#include "support/temp_dir.h"

namespace {

using orvia::testing::readFileBytes;
using orvia::testing::writeFileBytes;

constexpr uint32_t kDictId = 0x00010101;
constexpr char kTestKey[] = "Software\\OrviaDicTest\\Portability";

std::string fixtureDir() {
  const char* source = std::getenv("ORVIADIC_SOURCE_DIR");
  return std::string(source != nullptr ? source : ".") + "/tests/windows/data";
}
bool updating() {
  return std::getenv("ORVIADIC_UPDATE_FIXTURES") != nullptr;
}

// Bytes outside printable ASCII as \xHH, so the listing stays one line per record.
std::string escaped(const std::string& text) {
  std::string out;
  for (unsigned char c : text) {
    if (c >= 0x20 && c < 0x7F && c != '\\') {
      out += char(c);
    } else {
      char hex[5];
      std::snprintf(hex, sizeof hex, "\\x%02X", c);
      out += hex;
    }
  }
  return out;
}

// Every record of the dictionary as the library reads it, one line each.
std::string listing(HDICT* dict) {
  std::string out;
  uint32_t count = dicGetWordCount(dict);
  for (uint32_t n = 0; n < count; ++n) {
    HWORD* word = dicSearchRecord(dict, n);
    if (word == nullptr) return out + "no handle for record " + std::to_string(n) + "\n";
    std::string key(dicGetKeySize(word) + 1, '\0'), text(dicGetWordSize(word) + 1, '\0');
    dicGetKey(word, key.data(), uint32_t(key.size()));
    dicGetWord(word, text.data(), uint32_t(text.size()));
    uint32_t level = 0;
    dicGetHandleInfo(word, 4, &level);
    std::string content(dicGetContentSize(word, kDictId) + 1, '\0');
    uint32_t length = dicGetContent(word, kDictId, content.data(), uint32_t(content.size()));
    out += std::to_string(n) + "\t" + escaped(key.c_str()) + "\t" + escaped(text.c_str()) + "\t" +
           std::to_string(level) + "\t" + escaped(content.substr(0, length)) + "\n";
    dicFreeHWORD(word);
  }
  return out;
}

TEST(Portability, ADictionaryCompiledOnLinuxReadsTheSame) {
  using namespace orvia::platform;
  std::string folder = fixtureDir() + "/linux_dictionary";
  ASSERT_TRUE(regCreateKey(kHkeyCurrentUser, kTestKey));
  RegKey key = regOpenKey(kHkeyCurrentUser, kTestKey, RegAccess::kWrite);
  ASSERT_TRUE(
      regSetValue(key, "00010101Path", kRegSz, folder.c_str(), uint32_t(folder.size() + 1)));
  regCloseKey(key);
  ASSERT_EQ(dicSetRegKey(reinterpret_cast<void*>(uintptr_t(kHkeyCurrentUser)), kTestKey), 1);
  HDICT* dict = dicCreateHDICT(kDictId);
  ASSERT_NE(dict, nullptr);
  std::string read = listing(dict);
  EXPECT_EQ(dicFreeHDICT(dict), 1);
  dicSetRegKey(reinterpret_cast<void*>(uintptr_t(kHkeyLocalMachine)),
               "SOFTWARE\\Caldmore\\Orvia\\Tolvane\\Dict");
  std::string expectedPath = folder + "/listing.txt";
  if (updating()) writeFileBytes(expectedPath, read);
  EXPECT_EQ(read, readFileBytes(expectedPath));
}

// A fixed run: inserts in a shuffled order, deletes, a compaction, then more inserts in
// the change log. Returns every record the writer saw before closing.
std::vector<std::string> writeFixedRun(const std::string& path) {
  using namespace orvia::db::testing;
  std::vector<std::string> records;
  if (dbCreate(path.c_str()) != 1) return records;
  DBHANDLE h = dbOpen(path.c_str(), foldCompare);
  if (h == nullptr) return records;
  std::mt19937 rng(20261206);
  for (int i = 0; i < 40; ++i) {
    ModelRecord r = randomRecord(rng);
    DbInsertDescriptor d = descriptorFor(r);
    if (dbInsert(h, &d) != 1) return records;
    if (i % 7 == 6) dbDelete(h, uint32_t(rng() % (i / 2 + 1)));
    if (i == 29) dbCompact(h);
  }
  records = allRecords(h);
  dbClose(h);
  return records;
}

TEST(Portability, TheStoreWritesTheSameBytesEverywhere) {
  orvia::testing::TempDir dir;
  std::string path = dir.file("00000001.IDX");
  std::vector<std::string> written = writeFixedRun(path);
  ASSERT_FALSE(written.empty());
  std::string fixtures = fixtureDir() + "/store_written";
  for (const char* name : {"00000001.IDX", "00000001.IDX.00000002"}) {
    SCOPED_TRACE(name);
    std::string bytes = readFileBytes(dir.file(name));
    ASSERT_FALSE(bytes.empty());
    if (updating()) writeFileBytes(fixtures + "/" + name, bytes);
    EXPECT_TRUE(bytes == readFileBytes(fixtures + "/" + name)) << "the bytes differ";
  }
  // The expected files open here as written anywhere.
  orvia::testing::TempDir copy;
  for (const char* name : {"00000001.IDX", "00000001.IDX.00000002"})
    writeFileBytes(copy.file(name), readFileBytes(fixtures + "/" + name));
  std::string copied = copy.file("00000001.IDX");
  char report[200];
  EXPECT_EQ(dbVerify(copied.c_str(), orvia::db::testing::foldCompare, report, sizeof report), 1)
      << report;
  DBHANDLE h = dbOpen(copied.c_str(), orvia::db::testing::foldCompare);
  ASSERT_NE(h, nullptr);
  EXPECT_EQ(orvia::db::testing::allRecords(h), written);
  EXPECT_EQ(dbClose(h), 1);
}

}  // namespace
