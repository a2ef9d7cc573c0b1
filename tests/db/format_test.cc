// The file format against golden files worked out by hand from the layout tables
// (tests/data/db), and the checksum against its published check values.
#include <gtest/gtest.h>

#include <string>

#include "db/change_log.h"
#include "db/crc32c.h"
#include "support/golden.h"
#include "support/store_records.h"
#include "support/temp_dir.h"

namespace orvia::db {
namespace {

using namespace orvia::testing;

uint32_t crcOf(const std::string& bytes, uint32_t previous = 0) {
  return crc32c(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), previous);
}

TEST(FormatTest, ChecksumIsCastagnoli) {
  std::string text(1000, '\0');
  for (size_t i = 0; i < text.size(); ++i) text[i] = char(i * 7);
  for (const std::string& bytes : {std::string("123456789"), std::string(4, '\0'), text}) {
    EXPECT_EQ(crcOf(bytes),
              crc32cPortable(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()))
        << bytes.size() << " bytes: the table-driven form agrees";
  }
  EXPECT_EQ(crcOf("123456789"), 0xE3069283u);
  EXPECT_EQ(crcOf(std::string(4, '\0')), 0x48674BC7u);
  EXPECT_EQ(crcOf("6789", crcOf("12345")), 0xE3069283u) << "continuing equals the whole";
}

// Bytes the store writes against the golden files; index_with_log.hex gives the offsets
// of its log entries in its note.
TEST(FormatTest, TheStoreWritesAndReadsTheHandWorkedFiles) {
  TempDir dir;
  std::string path = dir.file("00000001.IDX"), withLog = goldenBytes("db/index_with_log.hex");
  ASSERT_EQ(dbCreate(path.c_str()), 1);
  const auto* name = reinterpret_cast<const uint8_t*>("01000001.DAT\0\0\0");
  const auto* b = reinterpret_cast<const uint8_t*>("b\0\0");
  const auto* bb = reinterpret_cast<const uint8_t*>("bb\0");
  const std::string rows[][2] = {
      {readFileBytes(path), goldenBytes("db/empty_index.hex")},
      {encodeInsertEntry(1, 1, 0x01000001, 9, name, b, 4), withLog.substr(423, 52)},
      {encodeDeleteEntry(1, 0), withLog.substr(475, 24)},
      {encodeInsertEntry(1, 1, 0x01000001, 5, name, bb, 4), withLog.substr(499)},
  };
  for (const auto& [written, golden] : rows) EXPECT_EQ(written, golden);

  path = dir.file("hand.IDX");
  writeFileBytes(path, withLog);
  EXPECT_EQ(verifyReport(path), "");
  DBHANDLE h = dbOpen(path.c_str(), foldCompare);
  ASSERT_NE(h, nullptr);
  std::string records;
  for (const std::string& r : allRecords(h)) records += r;
  EXPECT_EQ(records, goldenBytes("db/index_with_log_records.hex"));
  char kept[16];
  uint32_t size = 16;
  ASSERT_EQ(dbGetData(h, 0x7F000001, kept, &size), 1) << "a name only the segment holds";
  EXPECT_STREQ(kept, "7F000001.DAT");
  EXPECT_EQ(dbClose(h), 1);
}

}  // namespace
}  // namespace orvia::db
