// Entries whose records go on into a text other entries share, checked against bytes
// laid out by hand.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "compile/content/data_file_writer.h"
#include "support/temp_dir.h"

namespace orvia::compile {
namespace {

using orvia::testing::readFileBytes;
using orvia::testing::TempDir;

constexpr uint32_t kFirstRecord = 0x10007;  // after the table and three empty tree sizes

const uint8_t* bytesOf(const std::string& text) {
  return reinterpret_cast<const uint8_t*>(text.data());
}

std::string le32(uint32_t v) {
  return {char(v), char(v >> 8), char(v >> 16), char(v >> 24)};
}

// A stored record: header with type 0 and length, continuation, text.
std::string storedRecord(const std::string& text, uint32_t continuation) {
  return le32(uint32_t(8 + text.size())) + le32(continuation) + text;
}

TEST(DataFileWriterSharing, HeadsGoOnIntoTheBodyInTheSameFile) {
  TempDir dir;
  DataFileWriter writer;
  ASSERT_TRUE(writer.create(dir.file("main.DAT"), nullptr, {}));
  const std::string see = "see\r\n", body = "Body.\r\n~!", also = "also\r\n";
  uint32_t first = 0, second = 0;
  RecordPlace bodyPlace;
  ASSERT_TRUE(writer.addEntryWithBody(bytesOf(see), 5, bytesOf(body), 9, EntryEncoding::kStored,
                                      &first, &bodyPlace));
  ASSERT_TRUE(writer.addEntryHead(bytesOf(also), 6, EntryEncoding::kStored, bodyPlace, &second));
  ASSERT_TRUE(writer.finish());
  ASSERT_TRUE(writer.commit());

  // "see\r\n" is a record of 13 bytes, so the body starts at 0x10014.
  EXPECT_EQ(first, kFirstRecord);
  EXPECT_EQ(bodyPlace.file, 0u);
  EXPECT_EQ(bodyPlace.offset, 0x10014u);
  EXPECT_EQ(second, 0x10025u);
  std::string expected(kFirstRecord, '\0');
  expected += storedRecord(see, 0xFF010014) + storedRecord(body, 0xFFFFFFFF) +
              storedRecord(also, 0xFF010014);
  EXPECT_EQ(readFileBytes(dir.file("main.DAT")), expected);
}

TEST(DataFileWriterSharing, BodiesPastTheLimitGoIntoAFurtherFile) {
  TempDir dir;
  DataFileOptions options;
  options.continuationLimit = kFirstRecord;  // no continuation in the main file at all
  DataFileWriter writer;
  ASSERT_TRUE(writer.create(dir.file("main.DAT"), nullptr, options));
  const std::string see = "see\r\n", body = "Body.\r\n~!";
  uint32_t first = 0;
  RecordPlace bodyPlace;
  ASSERT_TRUE(writer.addEntryWithBody(bytesOf(see), 5, bytesOf(body), 9, EntryEncoding::kStored,
                                      &first, &bodyPlace));
  ASSERT_TRUE(writer.finish());
  ASSERT_TRUE(writer.commit());
  EXPECT_EQ(bodyPlace.file, 1u);
  EXPECT_EQ(bodyPlace.offset, kFirstRecord);

  // With no dictionary id, file-index entry 0 holds the further file's full path.
  const std::string further = dir.file("X0000001.DAT");
  std::string table(kFirstRecord, '\0');
  table[0] = 1;
  table.replace(1, further.size(), further);
  EXPECT_EQ(readFileBytes(dir.file("main.DAT")), table + storedRecord(see, 0x00010007));
  EXPECT_EQ(readFileBytes(further),
            std::string(kFirstRecord, '\0') + storedRecord(body, 0xFFFFFFFF));
}

// The end marker is the text's end, not the last piece's: a last piece of 1 to 3 bytes
// holds only part of it.
TEST(DataFileWriterChains, ALastPieceShorterThanTheMarkerIsWritten) {
  TempDir dir;
  DataFileOptions options;
  options.maxPieceSize = 8;
  DataFileWriter writer;
  ASSERT_TRUE(writer.create(dir.file("main.DAT"), nullptr, options));
  const std::string text = "sixteen!\r\nmore\r\n~!";  // pieces of 8, 8 and 2 bytes
  uint32_t offset = 0;
  ASSERT_TRUE(
      writer.addEntry(bytesOf(text), uint32_t(text.size()), EntryEncoding::kStored, &offset));
  ASSERT_TRUE(writer.finish());
  ASSERT_TRUE(writer.commit());
  std::string expected(kFirstRecord, '\0');
  expected += storedRecord(text.substr(0, 8), 0xFF010017) +
              storedRecord(text.substr(8, 8), 0xFF010027) +
              storedRecord(text.substr(16), 0xFFFFFFFF);
  EXPECT_EQ(readFileBytes(dir.file("main.DAT")), expected);
}

TEST(DataFileWriterFiles, EarlierFilesStayUntilCommit) {
  TempDir dir;
  const std::string main = dir.file("main.DAT"), further = dir.file("X0000001.DAT");
  orvia::testing::writeFileBytes(main, "earlier main");
  orvia::testing::writeFileBytes(further, "earlier further");
  DataFileOptions options;
  options.continuationLimit = kFirstRecord;
  const std::string see = "see\r\n", body = "Body.\r\n~!";
  uint32_t first = 0;
  RecordPlace bodyPlace;
  {
    DataFileWriter abandoned;
    ASSERT_TRUE(abandoned.create(main, nullptr, options));
    ASSERT_TRUE(abandoned.addEntryWithBody(bytesOf(see), 5, bytesOf(body), 9,
                                           EntryEncoding::kStored, &first, &bodyPlace));
    ASSERT_TRUE(abandoned.finish());
  }
  EXPECT_EQ(readFileBytes(main), "earlier main");
  EXPECT_EQ(readFileBytes(further), "earlier further");
  EXPECT_FALSE(std::filesystem::exists(main + ".part"));
  EXPECT_FALSE(std::filesystem::exists(further + ".part"));

  DataFileWriter writer;
  ASSERT_TRUE(writer.create(main, nullptr, options));
  ASSERT_TRUE(writer.addEntryWithBody(bytesOf(see), 5, bytesOf(body), 9, EntryEncoding::kStored,
                                      &first, &bodyPlace));
  EXPECT_FALSE(writer.commit());  // not finished
  ASSERT_TRUE(writer.finish());
  ASSERT_TRUE(writer.commit());
  EXPECT_EQ(readFileBytes(further).size(), kFirstRecord + 8 + body.size());
  EXPECT_FALSE(std::filesystem::exists(main + ".part"));
}

struct ReachRow {
  uint32_t limit;
  RecordPlace place;
  bool reachable;
};

class DataFileWriterReach : public ::testing::TestWithParam<ReachRow> {};

TEST_P(DataFileWriterReach, ContinuationsStartBelowTheLimitOfTheMainFile) {
  TempDir dir;
  DataFileOptions options;
  options.continuationLimit = GetParam().limit;
  DataFileWriter writer;
  ASSERT_TRUE(writer.create(dir.file("main.DAT"), nullptr, options));
  EXPECT_EQ(writer.reachable(GetParam().place), GetParam().reachable);
}

// A same-file reference to 0xFFFFFF would be 0xFFFFFFFF, "no continuation".
INSTANTIATE_TEST_SUITE_P(Edges, DataFileWriterReach,
                         ::testing::Values(ReachRow{0x20000, {0, 0x1FFFF}, true},
                                           ReachRow{0x20000, {0, 0x20000}, false},
                                           ReachRow{0x20000, {1, 0x7FFFFFFF}, true},
                                           ReachRow{0x1000000, {0, 0xFFFFFE}, true},
                                           ReachRow{0x1000000, {0, 0xFFFFFF}, false},
                                           ReachRow{0xFFFFFFFF, {0, 0xFFFFFF}, false}));

}  // namespace
}  // namespace orvia::compile
