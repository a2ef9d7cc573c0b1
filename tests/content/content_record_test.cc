// Content records read from golden data files (tests/data/content/record/): every type,
// the room rules, composites, continuations through the same file and the file-index
// table, and damage, each failure with its cause and the record where it was found.
#include "content/content_record.h"

#include <gtest/gtest.h>

#include <string>

#include "support/content_files.h"
#include "support/folder_resolver.h"
#include "support/heap_failures.h"
#include "support/temp_dir.h"

namespace orvia::content {
namespace {

using orvia::testing::goldenDataFile;
using orvia::testing::resolveInFolder;

constexpr uint32_t kAt = orvia::testing::kFirstRecordOffset;  // where every case's record lies
constexpr Cause kOk = Cause::kOk, kDamaged = Cause::kDamaged, kTruncated = Cause::kTruncated,
                kNoRoom = Cause::kNoRoom, kReadFailed = Cause::kReadFailed;

// A data file of the test's folder, whose entry 0 names the further file OTHERXXX.DAT
// (record/other.hex) by its full path and entry 1 by dictionary id 0x00010203.
class ContentRecordTest : public ::testing::Test {
 protected:
  ContentRecordTest() {
    orvia::testing::resolveIn(dir_.path(), 0x00010203);
    orvia::testing::writeFileBytes(other_, goldenDataFile("record/other.hex"));
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

struct RecordCase {
  const char* file;  // record/<file>.hex
  uint32_t capacity;
  std::string text;  // expected when textCause is kOk
  Cause textCause;
  uint32_t size;  // expected when sizeCause is kOk
  Cause sizeCause;
  uint32_t at;  // the offset a failure names
};

const RecordCase kRecords[] = {
    {"stored_x", 2, "x", kOk, 1, kOk, 0},
    {"stored_x", 1, "", kNoRoom, 1, kOk, kAt},
    {"lzw_abab", 16, "abab", kOk, 4, kOk, 0},
    {"lzw_abab", 4, "", kNoRoom, 4, kOk, kAt},
    {"masked", 8, "abcdefg", kOk, 7, kOk, 0},
    {"masked", 7, "", kNoRoom, 7, kOk, kAt},
    {"masked_12", 16, "", kDamaged, 0, kDamaged, kAt},
    {"huffman", 16, "ab~!", kOk, 4, kOk, 0},
    {"huffman", 4, "", kNoRoom, 4, kOk, kAt},
    {"lzw64", 3, "ab", kOk, 2, kOk, 0},
    {"lzw64", 2, "", kNoRoom, 2, kOk, kAt},
    {"lzw64_12", 16, "", kDamaged, 0, kDamaged, kAt},
    {"composite_exact", 16, "abcd", kOk, 4, kOk, 0},
    {"composite_over", 16, "", kTruncated, 0, kTruncated, kAt + 18},
    {"composite_cut", 16, "", kTruncated, 0, kTruncated, kAt + 8},
    {"unknown_type", 16, "", kDamaged, 0, kDamaged, kAt},
    {"length_8", 16, "", kDamaged, 0, kDamaged, kAt},
    {"trees_cut_short", 16, "", kReadFailed, 0, kReadFailed, kAt},
    {"same_file_chain", 16, "abcd", kOk, 4, kOk, 0},
    // The continuation needs its own room: 2 bytes and the NUL.
    {"same_file_chain", 4, "", kNoRoom, 4, kOk, kAt + 10},
    // A type-1 record out of room adds nothing; the continuation writes from the same place.
    {"lzw_then_stored", 16, "ababxy", kOk, 6, kOk, 0},
    {"lzw_then_stored", 4, "xy", kOk, 6, kOk, 0},
    {"by_path", 16, "abcd", kOk, 4, kOk, 0},
    {"by_id", 16, "ABcd", kOk, 4, kOk, 0},
    {"past_count", 16, "", kReadFailed, 0, kReadFailed, kAt},
    {"self_loop", 64, "", kDamaged, 0, kDamaged, kAt},
    {"empty_pair", 64, "", kDamaged, 0, kDamaged, kAt + 12},  // where the loop closes
    {"empty_continuation", 64, "", kDamaged, 0, kDamaged, kAt + 10},
    {"continuation_past_end", 64, "", kTruncated, 0, kTruncated, 0xFFFFF0},
    {"length_past_end", 64, "", kTruncated, 0, kTruncated, kAt},
    {"composite_self", 64, "", kDamaged, 0, kDamaged, kAt},
};

TEST_F(ContentRecordTest, GoldenRecords) {
  for (const RecordCase& c : kRecords) {
    SCOPED_TRACE(::testing::Message() << c.file << ", capacity " << c.capacity);
    open(goldenDataFile(std::string("record/") + c.file + ".hex"));
    std::string out(c.capacity + 8, '\x7F');
    uint32_t length = 0, size = 0;
    const Status text =
        contentTextAt(file_, kAt, out.data(), c.capacity, &resolveInFolder, &length);
    const Status sized = contentSizeAt(file_, kAt, &resolveInFolder, &size);
    EXPECT_EQ(out.substr(c.capacity), std::string(8, '\x7F')) << "wrote past the capacity";
    EXPECT_EQ(text.cause(), c.textCause);
    EXPECT_EQ(sized.cause(), c.sizeCause);
    EXPECT_EQ(text.offset(), text.ok() ? 0 : c.at);
    EXPECT_EQ(sized.offset(), sized.ok() ? 0 : c.at);
    EXPECT_EQ(size, c.size);  // left 0 by a failure
    if (text.ok()) {
      EXPECT_EQ(out.substr(0, length + 1), c.text + '\0');
    }
  }
}

TEST_F(ContentRecordTest, LongChainsAreWalkedWithoutRecursion) {
  const uint32_t kLinks = 20000;
  std::string bytes = orvia::testing::goldenBytes("content/head.hex");
  for (uint32_t i = 0; i < kLinks; ++i) {
    const uint32_t next = i + 1 < kLinks ? 0xFF000000 | uint32_t(bytes.size() + 9) : 0xFFFFFFFF;
    bytes += orvia::testing::contentRecord(0, next, std::string(1, char('a' + i % 26)));
  }
  open(bytes);
  uint32_t size = 0;
  EXPECT_TRUE(contentSizeAt(file_, kAt, &resolveInFolder, &size).ok());
  EXPECT_EQ(size, kLinks);
}

TEST_F(ContentRecordTest, FailedAllocationFails) {
  open(goldenDataFile("record/stored_x.hex"));
  uint32_t size = 0;
  orvia::testing::injectAllocationFailure(1);
  EXPECT_EQ(contentSizeAt(file_, kAt, &resolveInFolder, &size).cause(), Cause::kOutOfMemory);
  orvia::testing::injectAllocationFailure(0);
  EXPECT_TRUE(contentSizeAt(file_, kAt, &resolveInFolder, &size).ok());
  EXPECT_EQ(size, 1u);
}

}  // namespace
}  // namespace orvia::content
