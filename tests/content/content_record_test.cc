// Content records read from golden data files (tests/data/content/record/, cases in
// records.txt): every type, the room rules, composites, continuations through the same
// file and the file-index table, and damage, each failure with its cause and the record
// where it was found.
#include "content/content_record.h"

#include <gtest/gtest.h>

#include <string>

#include "outcome_fields.h"
#include "support/case_table.h"
#include "support/content_files.h"
#include "support/folder_resolver.h"
#include "support/heap_failures.h"
#include "support/temp_dir.h"

namespace orvia::content {
namespace {

using orvia::testing::resolveInFolder;

constexpr uint32_t kAt = orvia::testing::kFirstRecordOffset;  // where every case's record lies

// A data file of the test's folder, whose entry 0 names the further file OTHERXXX.DAT
// (record/other.hex) by its full path and entry 1 by dictionary id 0x00010203.
class ContentRecordTest : public ::testing::Test {
 protected:
  ContentRecordTest() {
    orvia::testing::resolveIn(dir_.path(), 0x00010203);
    orvia::testing::writeFileBytes(other_, orvia::testing::goldenDataFile("record/other.hex"));
  }
  ~ContentRecordTest() override { closeFile(file_); }

  void open(std::string bytes) {
    bytes.replace(1, other_.size(), other_);
    orvia::testing::writeFileBytes(dir_.file("main.dat"), bytes);
    closeFile(file_);
    file_ = openFileRead(dir_.file("main.dat").c_str());
    ASSERT_NE(file_, kInvalidFile);
  }

  orvia::testing::TempDir dir_;
  const std::string other_ = dir_.file("OTHERXXX.DAT");
  FileHandle file_ = kInvalidFile;
};

TEST_F(ContentRecordTest, GoldenRecords) {
  for (const orvia::testing::CaseRow& c : orvia::testing::caseTable("content/records.txt")) {
    SCOPED_TRACE(c.line);
    open(orvia::testing::goldenDataFile("record/" + c.fields[0] + ".hex"));
    const uint32_t capacity = uint32_t(c.number(1));
    std::string out(capacity + 8, '\x7F');
    uint32_t length = 0, size = 0;
    const Status text = contentTextAt(file_, kAt, out.data(), capacity, &resolveInFolder, &length);
    const Status sized = contentSizeAt(file_, kAt, &resolveInFolder, &size);
    EXPECT_EQ(out.substr(capacity), std::string(8, '\x7F')) << "wrote past the capacity";
    EXPECT_EQ(text.cause(), outcomeCause(c.fields[2]));
    EXPECT_EQ(sized.cause(), outcomeCause(c.fields[3]));
    EXPECT_EQ(text.offset(), text.ok() ? 0 : c.number(4));
    EXPECT_EQ(sized.offset(), sized.ok() ? 0 : c.number(4));
    EXPECT_EQ(size, sized.ok() ? c.number(3) : 0);  // left 0 by a failure
    EXPECT_TRUE(!text.ok() || out.substr(0, length + 1) == *c.bytes(2) + '\0') << out;
  }
}

TEST_F(ContentRecordTest, LongChainsAreWalkedWithoutRecursion) {
  const uint32_t kLinks = 20000;
  std::string bytes = orvia::testing::goldenBytes("content/head.hex");
  for (uint32_t i = 0; i < kLinks; ++i) {
    const uint32_t next = i + 1 < kLinks ? 0xFF000000 | uint32_t(bytes.size() + 9) : 0xFFFFFFFF;
    // A stored record of 9 bytes: one letter.
    bytes += orvia::testing::le32(9) + orvia::testing::le32(next) + char('a' + i % 26);
  }
  open(bytes);
  uint32_t size = 0;
  EXPECT_TRUE(contentSizeAt(file_, kAt, &resolveInFolder, &size).ok());
  EXPECT_EQ(size, kLinks);
}

TEST_F(ContentRecordTest, FailedAllocationFails) {
  open(orvia::testing::goldenDataFile("record/stored_x.hex"));
  uint32_t size = 0;
  orvia::testing::injectAllocationFailure(1);
  EXPECT_EQ(contentSizeAt(file_, kAt, &resolveInFolder, &size).cause(), Cause::kOutOfMemory);
  orvia::testing::injectAllocationFailure(0);
}

}  // namespace
}  // namespace orvia::content
