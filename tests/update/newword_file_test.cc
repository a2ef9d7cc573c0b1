// New-word files: the rules a file must pass, the three header queries over them, the
// range copy and the extraction into the new-word companion.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <map>

#include "orviadic.h"
#include "support/case_table.h"
#include "support/dictionary_fixtures.h"
#include "support/golden.h"
#include "support/heap_failures.h"
#include "support/newword_files.h"
#include "support/read_only_page.h"
#include "update/copy_file_range.h"
#include "update/newword_extract.h"
#include "update/newword_file.h"

namespace orvia::update {
namespace {

using orvia::testing::fillerBytes;
using orvia::testing::readFileBytes;
using orvia::testing::writeFileBytes;

const std::string kTime("\xe9\x07\x0c\x00\x01\x00\x07\x00\x00\xff\x1e\x00\x80\x00\xf4\x01", 16);

// What the three header queries give for one file.
struct Queried {
  int32_t idResult, versionResult, timeResult;
  uint32_t id, version;
  std::string time;
};

Queried queryHeader(const char* path) {
  Queried q{};
  uint32_t time[4] = {1, 2, 3, 4};
  q.id = 0xAAAAAAAA;
  q.version = 0xAAAAAAAA;
  q.idResult = dicGetNewWordID(path, &q.id);
  q.versionResult = dicGetNewWordVersion(path, &q.version);
  q.timeResult = dicGetNewWordTime(path, time);
  q.time.assign(reinterpret_cast<const char*>(time), 16);
  return q;
}

void expectRefused(const Queried& q) {
  EXPECT_EQ(q.idResult, 0);
  EXPECT_EQ(q.id, 0u);
  EXPECT_EQ(q.versionResult, 0);
  EXPECT_EQ(q.version, 0xFFFFFFFFu);
  EXPECT_EQ(q.timeResult, 0);
  EXPECT_EQ(q.time, std::string(16, '\0'));
}

class NewWordFiles : public orvia::testing::ConfigFixture {
 protected:
  void SetUp() override {
    ConfigFixture::SetUp();
    writeDictKey("\"PATH\"=\"" + dir_.path() + "\"\r\n");
  }
  std::string write(const std::string& name, const std::string& bytes) {
    EXPECT_TRUE(writeFileBytes(dir_.file(name), bytes));
    return dir_.file(name);
  }
};

TEST_F(NewWordFiles, RulesInTheirOrderAndTheHeaderQueries) {
  const std::map<std::string, NewWordCheck> rules = {
      {"valid", NewWordCheck::kValid},
      {"header_unread", NewWordCheck::kHeaderUnread},
      {"target", NewWordCheck::kNotATarget},
      {"version", NewWordCheck::kVersionTooHigh},
      {"header_size", NewWordCheck::kBadHeaderSize},
      {"no_index", NewWordCheck::kNoIndexImage},
      {"no_content", NewWordCheck::kNoContentImage},
      {"images_size", NewWordCheck::kImagesSizeMismatch},
      {"file_size", NewWordCheck::kFileSizeMismatch}};
  for (const orvia::testing::CaseRow& c : orvia::testing::caseTable("update/newword_checks.txt")) {
    SCOPED_TRACE(c.line);
    orvia::testing::NewWordFields f{
        uint32_t(c.number(1)), uint32_t(c.number(2)), kTime,
        uint32_t(c.number(3)), uint32_t(c.number(4)), uint32_t(c.number(5)),
        uint32_t(c.number(6))};
    std::string bytes = orvia::testing::newWordHeader(f) + fillerBytes(64, 1);
    bytes.resize(size_t(c.number(7)));
    const std::string path = write("list.bin", bytes);
    const NewWordCheck want = rules.at(c.fields[8]);

    content::FileHandle file = content::openFileRead(path.c_str());
    EXPECT_EQ(checkNewWordFile(file), want);
    content::closeFile(file);
    const Queried q = queryHeader(path.c_str());
    if (want != NewWordCheck::kValid) {
      expectRefused(q);
      EXPECT_EQ(readFileBytes(path), bytes);
      continue;
    }
    EXPECT_EQ(q.idResult, 1);
    EXPECT_EQ(q.id, f.targetDictId);
    EXPECT_EQ(q.versionResult, 1);
    EXPECT_EQ(q.version, f.listVersion);
    EXPECT_EQ(q.timeResult, 1);
    EXPECT_EQ(q.time, kTime);
  }
}

TEST_F(NewWordFiles, HandMadeFileIsAccepted) {
  const std::string path =
      write("hand_made.bin", orvia::testing::goldenBytes("update/hand_made.hex"));
  const Queried q = queryHeader(path.c_str());
  EXPECT_EQ(q.idResult, 1);
  EXPECT_EQ(q.id, 0x01020304u);
  EXPECT_EQ(q.version, 3u);
  EXPECT_EQ(q.time,
            std::string("\xe9\x07\x0c\x00\x01\x00\x07\x00\x0c\x00\x1e\x00\x00\x00\xf4\x01", 16));
  content::FileHandle file = openNewWordFile(path.c_str());
  ASSERT_NE(file, content::kInvalidFile);
  ASSERT_TRUE(extractNewWordFile(file).ok());
  closeNewWordFile(file);
  EXPECT_EQ(readFileBytes(dir_.file("80020304.IDX")), "INDEX!");
  EXPECT_EQ(readFileBytes(dir_.file("80020304.DAT")), "DATA");
}

TEST_F(NewWordFiles, PathsThatNameNoFileAreRefused) {
  std::filesystem::create_directory(dir_.file("folder.bin"));
  for (const char* path : {static_cast<const char*>(nullptr), "", "missing.bin"}) {
    SCOPED_TRACE(path == nullptr ? "null" : path);
    expectRefused(queryHeader(path));
  }
  expectRefused(queryHeader(dir_.file("missing.bin").c_str()));
  expectRefused(queryHeader(dir_.file("folder.bin").c_str()));
  EXPECT_EQ(closeNewWordFile(content::kInvalidFile), 0u);
  EXPECT_EQ(checkNewWordFile(content::kInvalidFile), NewWordCheck::kNoFile);
}

// Outputs the queries cannot write are left as they are, even the bytes that could be.
TEST_F(NewWordFiles, UnwritableOutputsAreNotTouched) {
  const std::string path =
      write("valid.bin", orvia::testing::newWordFile(0x01020304, 1, kTime, "i", "c"));
  EXPECT_EQ(dicGetNewWordID(path.c_str(), nullptr), 0);
  EXPECT_EQ(dicGetNewWordVersion(path.c_str(), nullptr), 0);
  EXPECT_EQ(dicGetNewWordTime(path.c_str(), nullptr), 0);
  orvia::testing::GuardedPages pages(orvia::testing::PageAccess::kRead);
  ASSERT_NE(pages.first(), nullptr);
  char* tail = pages.second() - 8;
  std::memset(tail, 'x', 8);
  EXPECT_EQ(dicGetNewWordTime(path.c_str(), reinterpret_cast<uint32_t*>(tail)), 0);
  uint32_t* lastWord = reinterpret_cast<uint32_t*>(pages.second() - 2);
  EXPECT_EQ(dicGetNewWordID(path.c_str(), lastWord), 0);
  EXPECT_EQ(dicGetCurrentNewWordTime(0x01020304, reinterpret_cast<uint32_t*>(tail)), 0);
  EXPECT_EQ(std::string(tail, 8), std::string(8, 'x'));
}

TEST_F(NewWordFiles, CopyRangeTable) {
  const std::string source = fillerBytes(5000, 3), old(6000, 'x');
  const std::string sourcePath = write("source.bin", source);
  for (const orvia::testing::CaseRow& c : orvia::testing::caseTable("update/copy_ranges.txt")) {
    SCOPED_TRACE(c.line);
    const uint32_t offset = uint32_t(c.number(1)), length = uint32_t(c.number(2));
    const std::string destinationPath = write("destination.bin", old);
    content::FileHandle from = content::openFileRead(sourcePath.c_str());
    content::FileHandle to = content::openFileReadWrite(destinationPath.c_str());
    orvia::testing::injectAllocationFailure(uint32_t(c.number(3)));
    EXPECT_EQ(copyFileRange(to, from, offset, length) != 0, c.number(4) != 0);
    orvia::testing::injectAllocationFailure(0);
    content::closeFile(from);
    content::closeFile(to);
    EXPECT_EQ(readFileBytes(destinationPath),
              c.number(4) != 0 ? source.substr(offset, length) : old);
  }
  content::FileHandle from = content::openFileRead(sourcePath.c_str());
  EXPECT_EQ(copyFileRange(content::kInvalidFile, from, 0, 1), 0u);
  EXPECT_EQ(copyFileRange(from, content::kInvalidFile, 0, 1), 0u);
  content::closeFile(from);
}

// Images that span several chunks and end inside one, over longer files of the same names.
TEST_F(NewWordFiles, ExtractionWritesBothImagesAndCutsLongerFiles) {
  const std::string index = fillerBytes(4097, 5), data = fillerBytes(2049, 9);
  const std::string path =
      write("list.bin", orvia::testing::newWordFile(0x01020304, 2, kTime, index, data));
  write("80020304.IDX", std::string(9000, 'i'));
  write("80020304.DAT", std::string(9000, 'd'));
  content::FileHandle file = openNewWordFile(path.c_str());
  ASSERT_NE(file, content::kInvalidFile);
  EXPECT_TRUE(extractNewWordFile(file).ok());
  closeNewWordFile(file);
  EXPECT_EQ(readFileBytes(dir_.file("80020304.IDX")), index);
  EXPECT_EQ(readFileBytes(dir_.file("80020304.DAT")), data);
  EXPECT_FALSE(std::filesystem::exists(dir_.file("01020304.IDX")));
}

TEST_F(NewWordFiles, ExtractionFailuresKeepWhatWasWritten) {
  const std::string path =
      write("list.bin", orvia::testing::newWordFile(0x7E020304, 2, kTime, "index", "data"));
  // The content file cannot be made where a folder has its name: the index stays written.
  std::filesystem::create_directory(dir_.file("80020304.DAT"));
  content::FileHandle file = openNewWordFile(path.c_str());
  ASSERT_NE(file, content::kInvalidFile);
  EXPECT_FALSE(extractNewWordFile(file).ok());
  EXPECT_EQ(readFileBytes(dir_.file("80020304.IDX")), "index");
  // Without a folder for the companion nothing is written.
  std::filesystem::remove(dir_.file("80020304.IDX"));
  writeDictKey("");
  EXPECT_EQ(extractNewWordFile(file).cause(), Cause::kNotConfigured);
  closeNewWordFile(file);
  EXPECT_FALSE(std::filesystem::exists(dir_.file("80020304.IDX")));
}

}  // namespace
}  // namespace orvia::update
