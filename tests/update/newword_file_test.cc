// New-word files: the rules a file must pass and the three header queries over them, the
// range copy, the extraction into the new-word companion, and the stored version, time and
// list path of a dictionary. Files are laid out here byte by byte, never by the library's
// header coder, so that a mistake in the coder cannot hide in both writer and reader.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>

#include "orviadic.h"
#include "support/case_table.h"
#include "support/content_files.h"
#include "support/dictionary_fixtures.h"
#include "support/golden.h"
#include "support/heap_failures.h"
#include "support/read_only_page.h"
#include "update/copy_file_range.h"
#include "update/newword_extract.h"
#include "update/newword_file.h"

namespace orvia::testing {
namespace {

using update::NewWordCheck;

const std::string kTime("\xe9\x07\x0c\x00\x01\x00\x07\x00\x00\xff\x1e\x00\x80\x00\xf4\x01", 16);
const char* const kRules[] = {"valid",       "no_file",     "header_unread", "target",
                              "version",     "header_size", "no_index",      "no_content",
                              "images_size", "file_size"};

// A header of the seven fields as given.
std::string header(uint32_t target, uint32_t version, uint32_t headerSize, uint32_t indexSize,
                   uint32_t contentSize, uint32_t imagesSize) {
  return le32(target) + le32(version) + kTime + le32(headerSize) + le32(indexSize) +
         le32(contentSize) + le32(imagesSize);
}
std::string newWordFile(uint32_t target, const std::string& index, const std::string& content) {
  return header(target, 2, 40, uint32_t(index.size()), uint32_t(content.size()),
                uint32_t(index.size() + content.size())) +
         index + content;
}
// Bytes that differ from their neighbours and from any other run's at the same place.
std::string fillerBytes(size_t n, uint8_t seed) {
  std::string bytes(n, '\0');
  for (size_t i = 0; i < n; ++i) bytes[i] = char(seed + i * 7 + i / 251);
  return bytes;
}

// What the three header queries give for one file: results, id, version and the time.
std::string queryHeader(const char* path) {
  uint32_t id = 0xAAAAAAAA, version = 0xAAAAAAAA, time[4] = {1, 2, 3, 4};
  const int32_t results[] = {dicGetNewWordID(path, &id), dicGetNewWordVersion(path, &version),
                             dicGetNewWordTime(path, time)};
  return std::to_string(results[0]) + std::to_string(results[1]) + std::to_string(results[2]) +
         le32(id) + le32(version) + std::string(reinterpret_cast<const char*>(time), 16);
}
const std::string kRefused = "000" + le32(0) + le32(0xFFFFFFFF) + std::string(16, '\0');

class NewWordFiles : public ConfigFixture {
 protected:
  void SetUp() override {
    ConfigFixture::SetUp();
    writeDictKey("\"PATH\"=\"" + dir_.path() + "\"\r\n");
  }
  std::string write(const std::string& name, const std::string& bytes) {
    EXPECT_TRUE(writeFileBytes(dir_.file(name), bytes));
    return dir_.file(name);
  }
  std::string extracted(const char* extension) {
    return readFileBytes(dir_.file(std::string("80020304") + extension));
  }
};

TEST_F(NewWordFiles, RulesInTheirOrderAndTheHeaderQueries) {
  for (const CaseRow& c : caseTable("update/newword_checks.txt")) {
    SCOPED_TRACE(c.line);
    const uint32_t id = uint32_t(c.number(1)), version = uint32_t(c.number(2));
    std::string bytes = header(id, version, uint32_t(c.number(3)), uint32_t(c.number(4)),
                               uint32_t(c.number(5)), uint32_t(c.number(6))) +
                        fillerBytes(64, 1);
    const std::string& length = c.fields.at(7);
    std::string path = length == "relative" ? "missing.bin" : dir_.file(length + ".bin");
    if (std::isdigit(length[0])) path = write("list.bin", bytes.substr(0, std::stoul(length)));
    const char* name = length == "null" ? nullptr : length == "empty" ? "" : path.c_str();

    content::FileHandle file = name ? content::openFileRead(name) : content::kInvalidFile;
    EXPECT_EQ(kRules[int(update::checkNewWordFile(file))], c.fields.at(8));
    content::closeFile(file);
    const bool valid = c.fields[8] == "valid";
    EXPECT_EQ(queryHeader(name), valid ? "111" + le32(id) + le32(version) + kTime : kRefused);
    if (std::isdigit(length[0])) {
      EXPECT_EQ(readFileBytes(path), bytes.substr(0, std::stoul(length)));
    }
  }
  std::filesystem::create_directory(dir_.file("folder.bin"));
  EXPECT_EQ(queryHeader(dir_.file("folder.bin").c_str()), kRefused);
  EXPECT_EQ(update::closeNewWordFile(content::kInvalidFile), 0u);
}

TEST_F(NewWordFiles, HandMadeFileIsAcceptedAndExtracted) {
  const std::string path = write("hand_made.bin", goldenBytes("update/hand_made.hex"));
  EXPECT_EQ(
      queryHeader(path.c_str()),
      "111" + le32(0x01020304) + le32(3) +
          std::string("\xe9\x07\x0c\x00\x01\x00\x07\x00\x0c\x00\x1e\x00\x00\x00\xf4\x01", 16));
  content::FileHandle file = update::openNewWordFile(path.c_str());
  ASSERT_TRUE(update::extractNewWordFile(file).ok());
  update::closeNewWordFile(file);
  EXPECT_EQ(extracted(".IDX") + extracted(".DAT"), "INDEX!DATA");
}

// Outputs the queries cannot write are left as they are, even the bytes that could be.
TEST_F(NewWordFiles, UnwritableOutputsAreNotTouched) {
  const std::string path = write("valid.bin", newWordFile(0x01020304, "i", "c"));
  EXPECT_EQ(dicGetNewWordID(path.c_str(), nullptr), 0);
  EXPECT_EQ(dicGetNewWordVersion(path.c_str(), nullptr), 0);
  EXPECT_EQ(dicGetNewWordTime(path.c_str(), nullptr), 0);
  EXPECT_EQ(dicGetCurrentNewWordVersion(0x01020304, nullptr), 0);
  EXPECT_EQ(dicGetCurrentNewWordTime(0x01020304, nullptr), 0);
  EXPECT_EQ(dicGetNewWordListPath(0x01020304, nullptr, 10), 0);
  GuardedPages pages(PageAccess::kRead);
  ASSERT_NE(pages.first(), nullptr);
  char* tail = pages.second() - 8;
  std::memset(tail, 'x', 8);
  EXPECT_EQ(dicGetNewWordTime(path.c_str(), reinterpret_cast<uint32_t*>(tail)), 0);
  EXPECT_EQ(dicGetNewWordID(path.c_str(), reinterpret_cast<uint32_t*>(pages.second() - 2)), 0);
  EXPECT_EQ(dicGetCurrentNewWordTime(0x01020304, reinterpret_cast<uint32_t*>(tail)), 0);
  EXPECT_EQ(std::string(tail, 8), std::string(8, 'x'));
}

TEST_F(NewWordFiles, CopyRangeTable) {
  const std::string source = fillerBytes(5000, 3), old(6000, 'x');
  const std::string sourcePath = write("source.bin", source);
  content::FileHandle from = content::openFileRead(sourcePath.c_str());
  for (const CaseRow& c : caseTable("update/copy_ranges.txt")) {
    SCOPED_TRACE(c.line);
    const uint32_t offset = uint32_t(c.number(1)), length = uint32_t(c.number(2));
    const std::string destinationPath = write("destination.bin", old);
    content::FileHandle to = content::openFileReadWrite(destinationPath.c_str());
    injectAllocationFailure(uint32_t(c.number(3)));
    EXPECT_EQ(update::copyFileRange(to, from, offset, length) != 0, c.number(4) != 0);
    injectAllocationFailure(0);
    content::closeFile(to);
    EXPECT_EQ(readFileBytes(destinationPath),
              c.number(4) != 0 ? source.substr(offset, length) : old);
  }
  EXPECT_EQ(update::copyFileRange(content::kInvalidFile, from, 0, 1), 0u);
  EXPECT_EQ(update::copyFileRange(from, content::kInvalidFile, 0, 1), 0u);
  content::closeFile(from);
}

// Images that span several chunks and end inside one, over longer files of the same
// names; then a content file that cannot be made where a folder has its name, which
// keeps the index written, and no folder for the companion, which writes nothing.
TEST_F(NewWordFiles, ExtractionWritesBothImagesCutsLongerFilesAndKeepsWhatWasWritten) {
  const std::string index = fillerBytes(4097, 5), data = fillerBytes(2049, 9);
  std::string path = write("list.bin", newWordFile(0x01020304, index, data));
  write("80020304.IDX", std::string(9000, 'i'));
  write("80020304.DAT", std::string(9000, 'd'));
  content::FileHandle file = update::openNewWordFile(path.c_str());
  EXPECT_TRUE(update::extractNewWordFile(file).ok());
  update::closeNewWordFile(file);
  EXPECT_EQ(extracted(".IDX"), index);
  EXPECT_EQ(extracted(".DAT"), data);
  EXPECT_FALSE(std::filesystem::exists(dir_.file("01020304.IDX")));

  path = write("list.bin", newWordFile(0x7E020304, "index", "data"));
  std::filesystem::remove(dir_.file("80020304.DAT"));
  std::filesystem::create_directory(dir_.file("80020304.DAT"));
  file = update::openNewWordFile(path.c_str());
  EXPECT_FALSE(update::extractNewWordFile(file).ok());
  EXPECT_EQ(extracted(".IDX"), "index");
  std::filesystem::remove(dir_.file("80020304.IDX"));
  writeDictKey("");
  EXPECT_EQ(update::extractNewWordFile(file).cause(), Cause::kNotConfigured);
  update::closeNewWordFile(file);
  EXPECT_FALSE(std::filesystem::exists(dir_.file("80020304.IDX")));
}

TEST_F(NewWordFiles, CurrentVersionAndTimeTable) {
  for (const CaseRow& c : caseTable("update/current_values.txt")) {
    SCOPED_TRACE(c.line);
    const uint32_t id = uint32_t(c.number(1));
    char digits[9];
    dict::formatDictIdHex(id, digits);
    std::string lines;
    for (const auto& [field, name] : {std::pair(2, "version"), std::pair(3, "time")})
      if (c.fields[field] != "none")
        lines += "\"" + std::string(digits) + name + "\"=" + c.fields[field] + "\r\n";
    writeDictKey(lines);
    uint32_t version = 0xAAAAAAAA, time[4] = {1, 2, 3, 4};
    EXPECT_EQ(dicGetCurrentNewWordVersion(id, &version), c.number(4));
    EXPECT_EQ(version, uint32_t(c.number(5)));
    EXPECT_EQ(dicGetCurrentNewWordTime(id, time), c.number(6));
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(time), 16), *c.bytes(7));
  }
}

TEST_F(NewWordFiles, ListPathTable) {
  for (const CaseRow& c : caseTable("update/list_paths.txt")) {
    SCOPED_TRACE(c.line);
    const uint32_t id = uint32_t(c.number(1));
    writeDictKey(c.number(2) != 0 ? "\"PATH\"=\"" + dir_.path() + "\"\r\n" : "");
    char digits[9];
    dict::formatDictIdHex(id, digits);
    const std::string path = dir_.file(std::string(digits) + ".NEW");
    if (c.number(3) != 0) writeFileBytes(path, "word\r\n");
    const std::string& size = c.fields[4];
    std::string buffer(300, 'x');
    EXPECT_EQ(dicGetNewWordListPath(id, buffer.data(),
                                    size == "fits"        ? uint32_t(path.size() + 1)
                                    : size == "one short" ? uint32_t(path.size())
                                                          : uint32_t(c.number(4))),
              c.number(5));
    const std::string& want = c.fields[6];
    const std::string expected = want == "path"    ? path + '\0'
                                 : want == "empty" ? std::string(1, '\0')
                                                   : std::string(300, 'x');
    EXPECT_EQ(buffer.substr(0, expected.size()), expected);
    std::remove(path.c_str());
  }
}

}  // namespace
}  // namespace orvia::testing
