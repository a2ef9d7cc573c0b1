// orviadic verify on a compiled word list, whole and with one content record damaged:
// it must name the record whose content stops decoding.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "dict/index_record.h"
#include "lang/lang_ops.h"
#include "orviadb.h"
#include "support/temp_dir.h"

namespace {

struct CommandResult {
  int status;
  std::string output;
};

CommandResult run(const std::string& command) {
  CommandResult result{-1, ""};
  FILE* pipe = popen((command + " 2>&1").c_str(), "r");
  if (pipe == nullptr) return result;
  char chunk[4096];
  size_t got;
  while ((got = fread(chunk, 1, sizeof chunk, pipe)) > 0) result.output.append(chunk, got);
  const int status = pclose(pipe);
  result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return result;
}

class VerifyTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("ORVIADIC_REGISTRY_DIR", dir_.file("registry").c_str(), 1);
    setenv("NO_COLOR", "1", 1);
  }
  void TearDown() override { unsetenv("ORVIADIC_REGISTRY_DIR"); }

  void compile(const std::string& encoding) {
    const std::string source = std::string(ORVIADIC_SOURCE_DIR) + "/data/words.tsv";
    CommandResult compiled =
        run(tool_ + " compile --from tsv " + source + " --id 0x00010101 --out " + dir_.path() +
            " --encoding " + encoding);
    ASSERT_EQ(compiled.status, 0) << compiled.output;
    CommandResult installed = run(tool_ + " install " + dir_.path());
    ASSERT_EQ(installed.status, 0) << installed.output;
  }

  // The data-file offset and record number of the entry whose key is key.
  void locate(const char* key, uint32_t* offset, uint32_t* recordNumber) {
    DBHANDLE db = dbOpen(dir_.file("00010101.IDX").c_str(), orvia::lang::getCompareKeysFn(1));
    ASSERT_NE(db, nullptr);
    uint8_t record[orvia::dict::kMaxIndexRecordSize];
    uint32_t size = sizeof record;
    orvia::dict::IndexRecordView view;
    ASSERT_EQ(dbSeek(db, key), 1);
    ASSERT_EQ(dbGetRecord(db, &size, record), 1);
    ASSERT_TRUE(orvia::dict::parseIndexRecord(record, sizeof record, &view));
    ASSERT_STREQ(view.searchKey, key);
    *offset = view.contentRef & 0xFFFFFF;
    *recordNumber = view.recordNumber;
    dbClose(db);
  }

  void overwrite(uint32_t at, const std::vector<uint8_t>& bytes) {
    std::fstream data(dir_.file("00010101.DAT"), std::ios::in | std::ios::out | std::ios::binary);
    data.seekp(at);
    data.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  }

  orvia::testing::TempDir dir_;
  const std::string tool_ = ORVIADIC_TOOL;
};

TEST_F(VerifyTest, PassesOnEveryEncoding) {
  for (const char* encoding : {"stored", "lzw", "lzw64", "masked", "huffman", "auto"}) {
    SCOPED_TRACE(encoding);
    compile(encoding);
    CommandResult verified = run(tool_ + " verify 0x00010101");
    EXPECT_EQ(verified.status, 0) << verified.output;
    EXPECT_NE(verified.output.find("ok, 38 records"), std::string::npos) << verified.output;
  }
}

TEST_F(VerifyTest, NamesTheRecordWhoseContentStopsDecoding) {
  struct Case {
    const char* encoding;
    uint32_t at;  // from the start of the content record
    std::vector<uint8_t> bytes;
    const char* cause;  // null when the damage cannot be told from text
    const char* why;
  };
  const Case cases[] = {
      {"lzw", 3, {0x77}, "damaged data", "a type byte no decoder knows"},
      {"lzw", 8, {0xFF, 0xFF, 0xFF, 0xFF}, "damaged data", "a code stream of undefined codes"},
      {"lzw64", 0, {0xFF, 0xFF, 0xFF}, "data that ends early", "a length beyond the file"},
      {"huffman", 0, {0x09, 0x00}, "damaged data", "a length shorter than the bit stream needs"},
      {"stored", 8, {'X'}, nullptr, "stored bodies decode whatever their bytes"},
      {"masked", 12, {0x00}, nullptr, "and so do masked ones"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    compile(c.encoding);
    uint32_t offset = 0, number = 0;
    locate("zebra", &offset, &number);
    overwrite(offset + c.at, c.bytes);
    CommandResult verified = run(tool_ + " verify 0x00010101");
    if (c.cause == nullptr) {
      EXPECT_EQ(verified.status, 0) << verified.output;
      continue;
    }
    EXPECT_EQ(verified.status, 1) << verified.output;
    const std::string where = "record " + std::to_string(number) + " (zebra)";
    EXPECT_NE(verified.output.find(where), std::string::npos) << verified.output;
    char hex[16];
    std::snprintf(hex, sizeof hex, "0x%X", offset);
    EXPECT_NE(verified.output.find(hex), std::string::npos) << verified.output;
    const std::string cause = std::string(c.cause) + " at offset " + std::to_string(offset);
    EXPECT_NE(verified.output.find(cause), std::string::npos) << verified.output;
  }
}

}  // namespace
