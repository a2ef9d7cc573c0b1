#include "compile/key/index_record_builder.h"

#include <gtest/gtest.h>

#include <string>

#include "support/golden.h"

namespace orvia::compile {
namespace {

// Fields (contentDictId, contentRef, level, extendedRef, vcode, recordNumber, searchKey,
// headword, displayWord) and the record in the golden-file syntax, worked out from the
// layout in dict/index_record.h; null where they make no record.
TEST(IndexRecordBuilder, LaysRecordsOutByteForByteOrRefusesThem) {
  const std::string longest(1024 - 16 - 4 - 3, 'a'), tooLong = longest + "a", withZero("a\0b", 3);
  const struct {
    const char* name;
    IndexRecordFields fields;
    const char* bytes;
  } rows[] = {
      {"short locator, level in the top byte, vcode last",
       {0x00010101, 0x000123, 2, {}, 0xB8, 5, "Ab", "", ""},
       "16 00 00 00  01 01 01 00  23 01 00 02  05 00 00 00  \"Ab\" 00 00 00  b8"},
      {"extended locator behind the strings, before the vcode",
       {0x7F020301, 0, 0x80, 0x12345678, 0x41, 0, "bank@2", "bank", ""},
       "22 00 00 00  01 03 02 7f  ff ff ff 80  00 00 00 00  \"bank@2\" 00 \"bank\" 00 00"
       "  78 56 34 12  41"},
      {"no vcode outside language 1",
       {0x00010106, 0xFFFFFE, 0, {}, {}, 0x01020304, "x", "", "X"},
       "15 00 00 00  06 01 01 00  fe ff ff 00  04 03 02 01  \"x\" 00 00 \"X\" 00"},
      {"1024 bytes",
       {0, 0, 0, {}, 0xB8, 0, "key", longest, ""},
       "00 04 00 00  00*12  \"key\" 00  61*1001 00  00  b8"},
      {"1025 bytes", {0, 0, 0, {}, 0xB8, 0, "key", tooLong, ""}, nullptr},
      {"locator needs the extended form", {0, 0xFFFFFF, 0, {}, {}, 0, "key", "", ""}, nullptr},
      {"zero byte in a string", {0, 0, 0, {}, {}, 0, "key", "", withZero}, nullptr},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    std::string expected;
    ASSERT_TRUE(row.bytes == nullptr || orvia::testing::parseGolden(row.bytes, expected));
    EXPECT_EQ(indexRecordSize(row.fields), expected.size());
    std::string out(1100, '\xEE');
    const size_t size =
        buildIndexRecord(row.fields, reinterpret_cast<uint8_t*>(out.data()), out.size());
    EXPECT_EQ(out.substr(0, size), expected);
  }
  std::string small(22, '\xEE');  // one byte short of the first row's record
  EXPECT_EQ(buildIndexRecord(rows[0].fields, reinterpret_cast<uint8_t*>(small.data()), 21), 0u);
  EXPECT_EQ(small, std::string(22, '\xEE'));  // untouched when it does not fit
}

}  // namespace
}  // namespace orvia::compile
