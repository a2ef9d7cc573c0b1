// Content records read from data files laid out by hand: every type, the room rules,
// composites, continuations through the same file and the file-index table, and damage.
#include "content/content_record.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "content_test_util.h"
#include "platform/platform.h"
#include "support/heap_failures.h"

namespace orvia::content {
namespace {

using test::Bytes;
using test::bytesOf;
using test::DataFileBuilder;
using test::record;

constexpr uint32_t kSameFile = 0xFF000000;
constexpr uint32_t kNone = 0xFFFFFFFF;

// The file-index resolution seam: dictionary id 0x00010203 lives in resolverDir.
std::string resolverDir;
uint32_t resolvedId = 0;
int testResolver(uint32_t id, char* out, uint32_t size, const char* name) {
  resolvedId = id;
  if (id != 0x00010203) return 0;
  std::string path = resolverDir + "/" + name;
  if (path.size() >= size) return 0;
  std::memcpy(out, path.c_str(), path.size() + 1);
  return 1;
}

class ContentRecordTest : public ::testing::Test {
 protected:
  ContentRecordTest() {
    main_.setTrees(test::kTree0, test::kTree1, test::kTree2);
    resolverDir = dir_.file("");
    resolverDir.pop_back();
  }
  ~ContentRecordTest() override { closeFile(file_); }

  void open() {
    main_.write(dir_.file("main.dat"));
    file_ = openFileRead(dir_.file("main.dat").c_str());
    ASSERT_NE(file_, kInvalidFile);
  }
  // Text and size of the record at offset; "" with 0 for a failure of both.
  std::string text(uint32_t offset, uint32_t capacity, uint32_t* result) {
    std::string out(capacity + 8, '\x7F');
    *result = 0;
    if (!contentTextAt(file_, offset, out.data(), capacity, &testResolver, result).ok())
      *result = 0;
    EXPECT_EQ(out.substr(capacity), std::string(8, '\x7F')) << "wrote past the capacity";
    return out.substr(0, *result);
  }
  uint32_t size(uint32_t offset) {
    uint32_t size = 0;
    return contentSizeAt(file_, offset, &testResolver, &size).ok() ? size : 0;
  }

  test::TempDir dir_;
  DataFileBuilder main_;
  FileHandle file_ = kInvalidFile;
};

struct RecordCase {
  const char* name;
  Bytes record;
  uint32_t capacity;
  std::string text;  // expected; empty when the text read fails
  uint32_t size;     // expected size, 0 when it fails
};

TEST_F(ContentRecordTest, SingleRecordsOfEveryType) {
  const Bytes lzw{0x20, 0xA0, 0x98, 0x30, 0, 0, 0, 0};       // "abab"
  const Bytes sized{0x02, 0, 0, 0, 0x00, 0xA0, 0x98, 0x30};  // D = 2, "ab"
  const Bytes nestedAb = record(0, kNone, bytesOf("ab"));
  const Bytes nestedCd = record(0, kNone, bytesOf("cd"));
  Bytes exact = nestedAb;
  exact.insert(exact.end(), nestedCd.begin(), nestedCd.end());
  Bytes over = exact;
  over[10] = 11;  // the second nested record claims one byte more than remains
  const RecordCase cases[] = {
      {"stored one byte, capacity 2", record(0, kNone, bytesOf("x")), 2, "x", 1},
      {"stored one byte, capacity 1", record(0, kNone, bytesOf("x")), 1, "", 1},
      {"lzw", record(1, kNone, lzw), 16, "abab", 4},
      // mask 0x11223344: 'a'^44 'b'^33 'c'^22 'd'^11, the last three bytes as they are.
      {"masked", record(2, kNone, {0x44, 0x33, 0x22, 0x11, 0x25, 0x51, 0x41, 0x75, 'e', 'f', 'g'}),
       16, "abcdefg", 7},
      {"masked record of 12 bytes", record(2, kNone, {1, 2, 3, 4}), 16, "", 0},
      {"huffman with the file's trees", record(3, kNone, {0xFA, 0xC0}), 16, "ab~!", 4},
      {"sized lzw, D one below capacity", record(64, kNone, sized), 3, "ab", 2},
      {"sized lzw, D equal to capacity", record(64, kNone, sized), 2, "", 2},
      {"sized lzw record of 12 bytes", record(64, kNone, {2, 0, 0, 0}), 16, "", 0},
      {"composite adding up exactly", record(255, kNone, exact), 16, "abcd", 4},
      {"composite one byte over", record(255, kNone, over), 16, "", 0},
      {"composite with a nested header cut short", record(255, kNone, {10, 0, 0}), 16, "", 0},
      {"unknown type", record(7, kNone, bytesOf("ab")), 16, "", 0},
      {"header length of 8", {8, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF}, 16, "", 0},
  };
  std::vector<uint32_t> offsets;
  for (const auto& c : cases) offsets.push_back(main_.add(c.record));
  open();
  for (size_t i = 0; i < std::size(cases); ++i) {
    const auto& c = cases[i];
    SCOPED_TRACE(c.name);
    uint32_t result;
    EXPECT_EQ(text(offsets[i], c.capacity, &result), c.text);
    EXPECT_EQ(result, c.text.size());
    EXPECT_EQ(size(offsets[i]), c.size);
  }
}

TEST_F(ContentRecordTest, ContinuationInTheSameFile) {
  uint32_t second = main_.end() + 10;
  uint32_t first = main_.add(record(0, kSameFile | second, bytesOf("ab")));
  main_.add(record(0, kNone, bytesOf("cd")));
  open();
  uint32_t result;
  EXPECT_EQ(text(first, 16, &result), "abcd");
  EXPECT_EQ(size(first), 4u);
  // The continuation needs its own room: 4 bytes and the NUL.
  EXPECT_EQ(text(first, 4, &result), "");
}

// A type-1 record out of room adds nothing and the continuation starts where it did.
TEST_F(ContentRecordTest, OutOfRoomLzwLetsTheContinuationWriteFromTheSamePlace) {
  const Bytes lzw{0x20, 0xA0, 0x98, 0x30, 0, 0, 0, 0};  // "abab"
  uint32_t second = main_.end() + 16;
  uint32_t first = main_.add(record(1, kSameFile | second, lzw));
  main_.add(record(0, kNone, bytesOf("xy")));
  open();
  uint32_t result;
  EXPECT_EQ(text(first, 16, &result), "ababxy");
  EXPECT_EQ(text(first, 4, &result), "xy");
  EXPECT_EQ(size(first), 6u);
}

TEST_F(ContentRecordTest, ContinuationThroughFileIndexEntries) {
  DataFileBuilder other;
  uint32_t there = other.add(record(0, kNone, bytesOf("cd")));
  other.write(dir_.file("OTHERXXX.DAT"));
  main_.setEntryCount(2);
  main_.setPathEntry(0, dir_.file("OTHERXXX.DAT"));
  main_.setIdEntry(1, 0x00010203, "OTHERXXX.DAT");
  uint32_t byPath = main_.add(record(0, 0x00000000 | there, bytesOf("ab")));
  uint32_t byId = main_.add(record(0, 0x01000000 | there, bytesOf("AB")));
  uint32_t pastCount = main_.add(record(0, 0x02000000 | there, bytesOf("ab")));
  open();
  uint32_t result;
  EXPECT_EQ(text(byPath, 16, &result), "abcd");
  EXPECT_EQ(text(byId, 16, &result), "ABcd");
  EXPECT_EQ(resolvedId, 0x00010203u);
  EXPECT_EQ(size(byId), 4u);
  EXPECT_EQ(text(pastCount, 16, &result), "");
  EXPECT_EQ(size(pastCount), 0u);
}

TEST_F(ContentRecordTest, DamagedChainsFail) {
  struct ChainCase {
    const char* name;
    Bytes first;   // placed at `at`
    Bytes second;  // placed right after it
  };
  const uint32_t at = DataFileBuilder().end();
  const Bytes emptyLzw{0, 0, 0, 0};  // first code 0: adds nothing
  const ChainCase cases[] = {
      {"record continuing to itself", record(0, kSameFile | at, bytesOf("ab")), {}},
      {"two empty records continuing to each other", record(1, kSameFile | (at + 12), emptyLzw),
       record(1, kSameFile | at, emptyLzw)},
      {"continuation that adds nothing", record(0, kSameFile | (at + 10), bytesOf("ab")),
       record(1, kNone, emptyLzw)},
      {"continuation past the end of the file", record(0, kSameFile | 0xFFFFF0, bytesOf("ab")), {}},
      {"declared length past the end of the file",
       {0xFF, 0xFF, 0xFF, 0x00, 0xFF, 0xFF, 0xFF, 0xFF},
       {}},
      // A composite whose nested record continues back to the composite itself.
      {"composite nesting back on itself",
       record(255, kNone, record(0, kSameFile | at, bytesOf("a"))),
       {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    DataFileBuilder file;
    ASSERT_EQ(file.add(c.first), at);
    file.add(c.second);
    file.write(dir_.file("damaged.dat"));
    FileHandle f = openFileRead(dir_.file("damaged.dat").c_str());
    char out[64];
    uint32_t length = 0;
    EXPECT_FALSE(contentTextAt(f, at, out, sizeof out, &testResolver, &length).ok());
    EXPECT_FALSE(contentSizeAt(f, at, &testResolver, &length).ok());
    closeFile(f);
  }
}

TEST_F(ContentRecordTest, LongChainsAreWalkedWithoutRecursion) {
  const uint32_t kLinks = 20000;
  const uint32_t first = main_.end();
  for (uint32_t i = 0; i < kLinks; ++i) {
    uint32_t next = i + 1 < kLinks ? kSameFile | (main_.end() + 9) : kNone;
    main_.add(record(0, next, {uint8_t('a' + i % 26)}));
  }
  open();
  EXPECT_EQ(size(first), kLinks);
}

TEST_F(ContentRecordTest, TreesCutShortFailHuffmanRecords) {
  uint32_t at = main_.add(record(3, kNone, {0xFA, 0xC0}));
  main_.bytes()[0x10001] = 0xFF;  // tree 0 claims far more bytes than the file has
  main_.bytes()[0x10002] = 0xFF;
  open();
  uint32_t result;
  EXPECT_EQ(text(at, 16, &result), "");
  EXPECT_EQ(size(at), 0u);
}

TEST_F(ContentRecordTest, FailedAllocationFails) {
  uint32_t at = main_.add(record(0, kNone, bytesOf("ab")));
  open();
  testing::injectAllocationFailure(1);
  EXPECT_EQ(size(at), 0u);
  testing::injectAllocationFailure(0);
  EXPECT_EQ(size(at), 2u);
}

}  // namespace
}  // namespace orvia::content
