// New-word files: the rules a file must pass and the three header queries over them, the
// range copy, the extraction into the new-word companion, and the stored version, time and
// list path of a dictionary. Files are laid out here byte by byte, never by the library's
// header coder, so that a mistake in the coder cannot hide in both writer and reader.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "orviadic.h"
#include "support/case_table.h"
#include "support/content_files.h"
#include "support/dictionary_fixtures.h"
#include "support/golden.h"
#include "support/heap_failures.h"
#include "update/copy_file_range.h"
#include "update/newword_extract.h"
#include "update/newword_file.h"

namespace orvia::testing {
namespace {

// The time of tests/data/update/hand_made.hex; the library only copies it.
const std::string kTime("\xe9\x07\x0c\x00\x01\x00\x07\x00\x0c\x00\x1e\x00\x00\x00\xf4\x01", 16);
const char* const kRules[] = {"valid",       "no_file",     "header_unread", "target",
                              "version",     "header_size", "no_index",      "no_content",
                              "images_size", "file_size"};

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
};

TEST_F(NewWordFiles, RulesInTheirOrderAndTheHeaderQueries) {
  forEachCase("update/newword_checks.txt", [&](const CaseRow& c) {
    const uint32_t id = uint32_t(c.number(1)), version = uint32_t(c.number(2));
    const std::string& length = c.fields.at(7);
    const bool exists = std::isdigit(length[0]);
    std::string bytes = le32(id) + le32(version) + kTime;  // then the four sizes as given
    for (size_t i = 3; i <= 6; ++i) bytes += le32(uint32_t(c.number(i)));
    bytes = (bytes + std::string(64, 'f')).substr(0, exists ? std::stoul(length) : 0);
    const std::string path = exists                 ? write("list.bin", bytes)
                             : length == "relative" ? "missing.bin"
                                                    : dir_.file("missing.bin");
    const char* name = length == "null" ? nullptr : length == "empty" ? "" : path.c_str();

    content::FileHandle file = name ? content::openFileRead(name) : content::kInvalidFile;
    EXPECT_EQ(kRules[int(update::checkNewWordFile(file))], c.fields.at(8));
    content::closeFile(file);
    EXPECT_EQ(queryHeader(name),
              c.fields[8] == "valid" ? "111" + le32(id) + le32(version) + kTime : kRefused);
    EXPECT_EQ(exists ? readFileBytes(path) : bytes, bytes) << "the queries write nothing";
  });
  std::filesystem::create_directory(dir_.file("folder.bin"));
  EXPECT_EQ(queryHeader(dir_.file("folder.bin").c_str()), kRefused);
  EXPECT_EQ(update::closeNewWordFile(content::kInvalidFile), 0u);
}

// Over longer files of the companion's names, which extraction cuts; then a content file
// that cannot be made where a folder has its name, which keeps the index written, and no
// folder for the companion, which writes nothing.
TEST_F(NewWordFiles, HandMadeFileIsAcceptedAndExtracted) {
  const std::string path = write("hand_made.bin", goldenBytes("update/hand_made.hex"));
  EXPECT_EQ(queryHeader(path.c_str()), "111" + le32(0x01020304) + le32(3) + kTime);
  write("80020304.IDX", std::string(9000, 'i'));
  write("80020304.DAT", std::string(9000, 'd'));
  content::FileHandle file = update::openNewWordFile(path.c_str());
  ASSERT_TRUE(update::extractNewWordFile(file).ok());
  EXPECT_EQ(readFileBytes(dir_.file("80020304.IDX")) + readFileBytes(dir_.file("80020304.DAT")),
            "INDEX!DATA");
  EXPECT_FALSE(std::filesystem::exists(dir_.file("01020304.IDX")));

  std::filesystem::remove(dir_.file("80020304.DAT"));
  std::filesystem::create_directory(dir_.file("80020304.DAT"));
  write("80020304.IDX", "old");
  EXPECT_FALSE(update::extractNewWordFile(file).ok());
  EXPECT_EQ(readFileBytes(dir_.file("80020304.IDX")), "INDEX!");
  std::filesystem::remove(dir_.file("80020304.IDX"));
  writeDictKey("");
  EXPECT_EQ(update::extractNewWordFile(file).cause(), Cause::kNotConfigured);
  update::closeNewWordFile(file);
  EXPECT_FALSE(std::filesystem::exists(dir_.file("80020304.IDX")));
}

TEST_F(NewWordFiles, CopyRangeTable) {
  std::string source, old(6000, 'x');  // bytes that differ from their neighbours
  for (size_t i = 0; i < 5000; ++i) source += char(3 + i * 7 + i / 251);
  const std::string sourcePath = write("source.bin", source);
  content::FileHandle from = content::openFileRead(sourcePath.c_str());
  forEachCase("update/copy_ranges.txt", [&](const CaseRow& c) {
    const uint32_t offset = uint32_t(c.number(1)), length = uint32_t(c.number(2));
    const std::string destinationPath = write("destination.bin", old);
    content::FileHandle to = content::openFileReadWrite(destinationPath.c_str());
    injectAllocationFailure(uint32_t(c.number(3)));
    EXPECT_EQ(update::copyFileRange(to, from, offset, length) != 0, c.number(4) != 0);
    injectAllocationFailure(0);
    content::closeFile(to);
    EXPECT_EQ(readFileBytes(destinationPath),
              c.number(4) != 0 ? source.substr(offset, length) : old);
  });
  EXPECT_EQ(update::copyFileRange(content::kInvalidFile, from, 0, 1), 0u);
  EXPECT_EQ(update::copyFileRange(from, content::kInvalidFile, 0, 1), 0u);
  content::closeFile(from);
}

TEST_F(NewWordFiles, CurrentVersionAndTimeTable) {
  forEachCase("update/current_values.txt", [&](const CaseRow& c) {
    std::string values = c.fields[2] == "none" ? "" : c.fields[2] + "\r\n";
    for (size_t at; (at = values.find(" ; ")) != std::string::npos;) values.replace(at, 3, "\r\n");
    writeDictKey(values);
    const uint32_t id = uint32_t(c.number(1));
    uint32_t version = 0xAAAAAAAA, time[4] = {1, 2, 3, 4};
    EXPECT_EQ(dicGetCurrentNewWordVersion(id, &version), c.number(3));
    EXPECT_EQ(version, uint32_t(c.number(4)));
    EXPECT_EQ(dicGetCurrentNewWordTime(id, time), c.number(5));
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(time), 16), *c.bytes(6));
  });
}

TEST_F(NewWordFiles, ListPathTable) {
  forEachCase("update/list_paths.txt", [&](const CaseRow& c) {
    writeDictKey(c.number(2) != 0 ? "\"PATH\"=\"" + dir_.path() + "\"\r\n" : "");
    const std::string path = dir_.file(c.fields[3]), &size = c.fields[4], &want = c.fields[6];
    if (c.fields[3] != "none") writeFileBytes(path, "word\r\n");
    std::string buffer(300, 'x');
    EXPECT_EQ(dicGetNewWordListPath(uint32_t(c.number(1)), buffer.data(),
                                    size == "fits"        ? uint32_t(path.size() + 1)
                                    : size == "one short" ? uint32_t(path.size())
                                                          : uint32_t(c.number(4))),
              c.number(5));
    const std::string expected = want == "path"    ? path + '\0'
                                 : want == "empty" ? std::string(1, '\0')
                                                   : std::string(300, 'x');
    EXPECT_EQ(buffer.substr(0, expected.size()), expected);
    std::remove(path.c_str());
  });
}

}  // namespace
}  // namespace orvia::testing
