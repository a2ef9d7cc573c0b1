#include "dict/index_record.h"

#include <gtest/gtest.h>

#include <string>

namespace orvia::dict {
namespace {

// A record laid out by hand: length 30, content 0x7F010101, level 2 with locator 5,
// number 9, strings "bank@2", "bank", "" and the vcode 0xB8.
const std::string kRecord(
    "\x1e\x00\x00\x00"
    "\x01\x01\x01\x7f"
    "\x05\x00\x00\x02"
    "\x09\x00\x00\x00"
    "bank@2\0bank\0\0\xb8",
    30);

TEST(IndexRecord, ReadsTheFieldsLaidOutByHand) {
  IndexRecordView view;
  ASSERT_TRUE(parseIndexRecord(reinterpret_cast<const uint8_t*>(kRecord.data()), 30, &view));
  EXPECT_EQ(view.recordLength, 30u);
  EXPECT_EQ(view.contentDictId, 0x7F010101u);
  EXPECT_EQ(view.contentRef, 0x02000005u);
  EXPECT_EQ(view.level(), 2u);
  EXPECT_EQ(view.recordNumber, 9u);
  EXPECT_STREQ(view.key(), "bank");
  EXPECT_EQ(view.keyLength(), 4u);
  EXPECT_STREQ(view.word(), "bank");
  EXPECT_EQ(view.wordLength(), 4u);
  EXPECT_EQ(view.searchKeyLength, 6u);
  EXPECT_EQ(view.lastByte, 0xB8);
}

TEST(IndexRecord, RejectsDamage) {
  struct Case {
    const char* what;
    std::string bytes;
    uint32_t capacity;
  };
  std::string unterminated = kRecord;
  unterminated[27] = 'x';  // the headword's terminator
  std::string tooLong = kRecord;
  tooLong[0] = 31;  // longer than the buffer
  std::string twoStrings = kRecord.substr(0, 28);
  twoStrings[0] = 28;  // ends after the headword
  const Case cases[] = {
      {"headword unterminated", unterminated.substr(0, 28) + "xx", 30},
      {"length past the buffer", tooLong, 30},
      {"a string missing", twoStrings, 28},
      {"header only", kRecord.substr(0, 16), 16},
      {"shorter than a header", kRecord.substr(0, 8), 8},
  };
  for (const Case& c : cases) {
    IndexRecordView view;
    EXPECT_FALSE(
        parseIndexRecord(reinterpret_cast<const uint8_t*>(c.bytes.data()), c.capacity, &view))
        << c.what;
  }
}

}  // namespace
}  // namespace orvia::dict
