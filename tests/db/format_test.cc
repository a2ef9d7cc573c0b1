// The file format against bytes worked out by hand from the layout tables, with the
// checksums computed by a separate bit-by-bit CRC-32C.
#include <gtest/gtest.h>

#include <string>

#include "db/change_log.h"
#include "db/crc32c.h"
#include "db_test_support.h"
#include "support/temp_dir.h"

namespace orvia::db {
namespace {

std::string fromHex(const char* hex) {
  std::string out;
  unsigned value = 0;
  int digits = 0;
  for (const char* p = hex; *p != '\0'; ++p) {
    if (*p == ' ') continue;
    value = value * 16 + unsigned(*p <= '9' ? *p - '0' : *p - 'A' + 10);
    if (++digits == 2) {
      out += char(value);
      value = 0;
      digits = 0;
    }
  }
  return out;
}

// Prefix: magic, zero counter, the given slot 0, an empty slot 1, zeros up to 256.
std::string prefixWith(const std::string& slot) {
  std::string prefix = std::string("OrviaDB\x1A", 8) + std::string(56, '\0') + slot;
  return prefix + std::string(256 - prefix.size(), '\0');
}

const char kEmptySegmentHeader[] =
    "4F 72 76 53 65 67 31 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00"
    "00 00 00 00 C7 4B 67 48 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00"
    "00 00 00 00 00 00 00 00 00 00 00 00 19 13 E9 51";
// Generation 1, in-file segment at 256 of 68 bytes, log at 324.
const char kEmptyIndexSlot[] =
    "01 00 00 00 01 00 00 00 00 00 00 00 00 00 00 00 00 01 00 00 00 00 00 00"
    "44 00 00 00 00 00 00 00 44 01 00 00 00 00 00 00 00 00 00 00 00 00 00 00"
    "00 00 00 00 00 00 00 00 00 00 00 00 85 CD 50 ED";

TEST(FormatTest, ChecksumIsCastagnoli) {
  EXPECT_EQ(crc32c(reinterpret_cast<const uint8_t*>("123456789"), 9), 0xE3069283u);
  EXPECT_EQ(crc32cPortable(reinterpret_cast<const uint8_t*>("123456789"), 9), 0xE3069283u);
  std::string text(1000, '\0');
  for (size_t i = 0; i < text.size(); ++i) text[i] = char(i * 7);
  EXPECT_EQ(crc32c(reinterpret_cast<const uint8_t*>(text.data()), text.size()),
            crc32cPortable(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
  const uint8_t zeros[4] = {};
  EXPECT_EQ(crc32c(zeros, 4), 0x48674BC7u);
  // Continuing a checksum equals checksumming the whole.
  EXPECT_EQ(crc32c(reinterpret_cast<const uint8_t*>("6789"), 4,
                   crc32c(reinterpret_cast<const uint8_t*>("12345"), 5)),
            0xE3069283u);
}

TEST(FormatTest, CreateWritesTheEmptyIndexByteForByte) {
  orvia::testing::TempDir dir;
  std::string path = dir.file("00000001.IDX");
  ASSERT_EQ(dbCreate(path.c_str()), 1);
  std::string expected = prefixWith(fromHex(kEmptyIndexSlot)) + fromHex(kEmptySegmentHeader) +
                         std::string(4, '\0');  // offset table: entry 0 = R = 0
  EXPECT_EQ(orvia::testing::readFileBytes(path), expected);
}

TEST(FormatTest, LogEntriesEncodeByteForByte) {
  EXPECT_EQ(encodeDeleteEntry(1, 2),
            fromHex("18 00 00 00 02 00 00 00 01 00 00 00 C9 EA 16 F3 02 00 00 00 0B 91 4F 33"));
  const char name[16] = "01000001.DAT";
  EXPECT_EQ(encodeInsertEntry(1, 1, 0x01000001, 9, reinterpret_cast<const uint8_t*>(name),
                              reinterpret_cast<const uint8_t*>("b\0\0"), 4),
            fromHex("34 00 00 00 01 00 00 00 01 00 00 00 37 5A A4 51 01 00 00 00 01 00 00 01"
                    "09 00 00 00 30 31 30 30 30 30 30 31 2E 44 41 54 00 00 00 00 62 00 00 00"
                    "B1 88 CE DE"));
}

// Two segment records ("ab", "cd" with headword "x"), two content names and one logged
// insert of "b" at record number 1.
std::string handWrittenIndex() {
  std::string slot = fromHex(
      "01 00 00 00 01 00 00 00 00 00 00 00 00 00 00 00 00 01 00 00 00 00 00 00"
      "A7 00 00 00 00 00 00 00 A7 01 00 00 00 00 00 00 00 00 00 00 00 00 00 00"
      "00 00 00 00 00 00 00 00 00 00 00 00 C3 67 97 55");
  std::string segmentHeader = fromHex(
      "4F 72 76 53 65 67 31 00 02 00 00 00 02 00 00 00 33 00 00 00 00 00 00 00"
      "A1 04 24 2F 9B E9 72 F8 D5 86 42 BF 00 00 00 00 00 00 00 00 00 00 00 00"
      "00 00 00 00 00 00 00 00 00 00 00 00 F5 56 D5 1D");
  std::string records = fromHex(
      "15 00 00 00 01 00 00 01 07 00 00 00 00 00 00 00 61 62 00 00 00 00 00 00 00"
      "16 00 00 00 01 00 00 7F 78 56 34 12 00 00 00 00 63 64 00 78 00 00 00 00 00 00");
  std::string table = fromHex("00 00 00 00 19 00 00 00 33 00 00 00");
  std::string names = fromHex(
      "01 00 00 01 30 31 30 30 30 30 30 31 2E 44 41 54 00 00 00 00"
      "01 00 00 7F 37 46 30 30 30 30 30 31 2E 44 41 54 00 00 00 00");
  std::string insert = fromHex(
      "34 00 00 00 01 00 00 00 01 00 00 00 37 5A A4 51 01 00 00 00 01 00 00 01"
      "09 00 00 00 30 31 30 30 30 30 30 31 2E 44 41 54 00 00 00 00 62 00 00 00"
      "B1 88 CE DE");
  return prefixWith(slot) + segmentHeader + records + table + names + insert;
}

TEST(FormatTest, ReadsAnIndexWrittenByHand) {
  orvia::testing::TempDir dir;
  std::string path = dir.file("00000001.IDX");
  orvia::testing::writeFileBytes(path, handWrittenIndex());
  char report[160];
  ASSERT_EQ(dbVerify(path.c_str(), testing::foldCompare, report, sizeof report), 1) << report;
  DBHANDLE h = dbOpen(path.c_str(), testing::foldCompare);
  ASSERT_NE(h, nullptr);
  std::vector<std::string> expected = {
      fromHex("15 00 00 00 01 00 00 01 07 00 00 00 00 00 00 00 61 62 00 00 00"),
      fromHex("14 00 00 00 01 00 00 01 09 00 00 00 01 00 00 00 62 00 00 00"),
      fromHex("16 00 00 00 01 00 00 7F 78 56 34 12 02 00 00 00 63 64 00 78 00 00"),
  };
  EXPECT_EQ(testing::allRecords(h), expected);
  char name[16];
  uint32_t size = 16;
  ASSERT_EQ(dbGetData(h, 0x7F000001, name, &size), 1);
  EXPECT_STREQ(name, "7F000001.DAT");
  EXPECT_EQ(dbClose(h), 1);
}

}  // namespace
}  // namespace orvia::db
