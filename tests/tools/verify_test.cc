// orviadic verify on a compiled word list in each encoding, whole and then with one
// content record damaged: it must name the record whose content stops decoding.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <vector>

#include "dict/index_record.h"
#include "lang/lang_ops.h"
#include "orviadb.h"
#include "support/temp_dir.h"

namespace {

class VerifyTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("ORVIADIC_REGISTRY_DIR", dir_.file("registry").c_str(), 1);
    setenv("NO_COLOR", "1", 1);
  }
  void TearDown() override { unsetenv("ORVIADIC_REGISTRY_DIR"); }

  // The tool's exit status; its output, standard error included, in *output.
  int run(const std::string& arguments, std::string* output) {
    FILE* pipe = popen((std::string(ORVIADIC_TOOL) + " " + arguments + " 2>&1").c_str(), "r");
    if (pipe == nullptr) return -1;
    char chunk[4096];
    for (size_t got; (got = fread(chunk, 1, sizeof chunk, pipe)) > 0;) output->append(chunk, got);
    const int status = pclose(pipe);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

  void compile(const std::string& encoding) {
    std::string output;
    ASSERT_EQ(
        run("compile --from tsv " ORVIADIC_SOURCE_DIR "/data/words.tsv --id 0x00010101 --out " +
                dir_.path() + " --encoding " + encoding + " && " ORVIADIC_TOOL " install " +
                dir_.path(),
            &output),
        0)
        << output;
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

  orvia::testing::TempDir dir_;
};

TEST_F(VerifyTest, PassesOnEveryEncodingAndNamesTheRecordWhoseContentStopsDecoding) {
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
      {"auto", 0, {}, nullptr, "nothing damaged"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    compile(c.encoding);
    std::string output;
    EXPECT_EQ(run("verify 0x00010101", &output), 0) << output;
    EXPECT_NE(output.find("ok, 38 records"), std::string::npos) << output;
    uint32_t offset = 0, number = 0;
    locate("zebra", &offset, &number);
    std::fstream data(dir_.file("00010101.DAT"), std::ios::in | std::ios::out | std::ios::binary);
    data.seekp(offset + c.at);
    data.write(reinterpret_cast<const char*>(c.bytes.data()), std::streamsize(c.bytes.size()));
    data.close();
    output.clear();
    EXPECT_EQ(run("verify 0x00010101", &output), c.cause ? 1 : 0) << output;
    if (c.cause == nullptr) continue;
    char where[64];
    std::snprintf(where, sizeof where, "record %u (zebra)", number);
    EXPECT_NE(output.find(where), std::string::npos) << output;
    std::snprintf(where, sizeof where, "0x%X", offset);
    EXPECT_NE(output.find(where), std::string::npos) << output;
    const std::string cause = std::string(c.cause) + " at offset " + std::to_string(offset);
    EXPECT_NE(output.find(cause), std::string::npos) << output;
  }
}

}  // namespace
