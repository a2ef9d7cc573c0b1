// Files are byte-for-byte portable between the Linux and Windows builds. The expected files in
// tests/windows/data were made on Linux (how: tests/windows/data/README.md):
// - linux_dictionary/: a dictionary compiled by the Linux build, with the listing of
//   every record (key, word, level, content) the Linux build reads from it;
// - store_written/: the index the store writes for a fixed run of operations, which every
//   build must write byte for byte, so an index the Windows build writes is one the Linux
//   build reads, and the reverse.
// With ORVIADIC_UPDATE_FIXTURES set, the tests write the listing and the index instead of
// comparing.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

#include "orviadb.h"
#include "orviadic.h"
#include "support/registry_fixture.h"
#include "support/store_records.h"

namespace {

using namespace orvia::testing;

constexpr uint32_t kDictId = 0x00010101;

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
    char hex[5];
    std::snprintf(hex, sizeof hex, "\\x%02X", c);
    out += c >= 0x20 && c < 0x7F && c != '\\' ? std::string(1, char(c)) : std::string(hex);
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

// The dictionary compiled on Linux, open through the test's own registry key.
class Portability : public RegistryFixture {
 protected:
  void SetUp() override {
    RegistryFixture::SetUp();
    writeDictKey("\"00010101Path\"=\"" + fixtureDir() + "/linux_dictionary\"\r\n");
    ASSERT_EQ(dicSetRegKey(reinterpret_cast<void*>(uintptr_t(testKeyRoot())), testKeyPath()), 1);
    dict_ = dicCreateHDICT(kDictId);
    ASSERT_NE(dict_, nullptr);
  }
  void TearDown() override {
    EXPECT_EQ(dicFreeHDICT(dict_), 1);
    dicSetRegKey(reinterpret_cast<void*>(uintptr_t(0x80000002u)),
                 "SOFTWARE\\Caldmore\\Orvia\\Tolvane\\Dict");
    RegistryFixture::TearDown();
  }

  HDICT* dict_ = nullptr;
};

TEST_F(Portability, ADictionaryCompiledOnLinuxReadsTheSame) {
  const std::string read = listing(dict_);
  const std::string expectedPath = fixtureDir() + "/linux_dictionary/listing.txt";
  if (updating()) writeFileBytes(expectedPath, read);
  EXPECT_EQ(read, readFileBytes(expectedPath));
  EXPECT_EQ(dicGetVersion(), 0x0200010Fu) << "from the module's version information";
}

// A fixed run: inserts in a shuffled order, deletes, a compaction, then more inserts in
// the change log. Equal bytes everywhere make the files of one system the other's: the
// store tests show each system reads what it wrote.
bool writeFixedRun(const std::string& path) {
  DBHANDLE h = dbCreate(path.c_str()) == 1 ? dbOpen(path.c_str(), foldCompare) : nullptr;
  if (h == nullptr) return false;
  std::mt19937 rng(20261206);
  for (int i = 0; i < 40; ++i) {
    const StoredRecord r = randomRecord(rng);
    if (!insertArea(h, r.data, r.contentRef, r.contentDictId)) return false;
    if (i % 7 == 6) dbDelete(h, uint32_t(rng() % (i / 2 + 1)));
    if (i == 29) dbCompact(h);
  }
  return dbClose(h) == 1;
}

TEST_F(Portability, TheStoreWritesTheSameBytesEverywhere) {
  TempDir dir;
  ASSERT_TRUE(writeFixedRun(dir.file("00000001.IDX")));
  for (const char* name : {"00000001.IDX", "00000001.IDX.00000002"}) {
    SCOPED_TRACE(name);
    const std::string bytes = readFileBytes(dir.file(name));
    const std::string expectedPath = fixtureDir() + "/store_written/" + name;
    ASSERT_FALSE(bytes.empty());
    if (updating()) writeFileBytes(expectedPath, bytes);
    EXPECT_TRUE(bytes == readFileBytes(expectedPath)) << "the bytes differ";
  }
}

}  // namespace
