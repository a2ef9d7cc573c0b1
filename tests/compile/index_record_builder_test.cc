#include "compile/key/index_record_builder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dict/index_record.h"

namespace orvia::compile {
namespace {

using Bytes = std::vector<uint8_t>;

Bytes build(const IndexRecordFields& fields) {
  Bytes out(1100, 0xEE);
  size_t size = buildIndexRecord(fields, out.data(), out.size());
  out.resize(size);
  return out;
}

Bytes bytesOf(std::initializer_list<int> parts, const std::string& strings,
              std::initializer_list<int> tail) {
  Bytes out;
  for (int b : parts) out.push_back(uint8_t(b));
  out.insert(out.end(), strings.begin(), strings.end());
  for (int b : tail) out.push_back(uint8_t(b));
  return out;
}

TEST(IndexRecordBuilder, LaysRecordsOutByteForByte) {
  struct Row {
    const char* name;
    IndexRecordFields fields;
    Bytes expected;
  };
  auto fields = [](uint32_t dictId, uint32_t ref, uint8_t level, std::optional<uint32_t> ext,
                   std::optional<uint8_t> vcode, uint32_t number, const char* key,
                   const char* headword, const char* display) {
    IndexRecordFields f;
    f.contentDictId = dictId;
    f.contentRef = ref;
    f.level = level;
    f.extendedRef = ext;
    f.vcode = vcode;
    f.recordNumber = number;
    f.searchKey = key;
    f.headword = headword;
    f.displayWord = display;
    return f;
  };
  const Row rows[] = {
      {"short locator, level in the top byte, vcode last",
       fields(0x00010101, 0x000123, 2, std::nullopt, 0xB8, 5, "Ab", "", ""),
       bytesOf({0x16, 0, 0, 0, 0x01, 0x01, 0x01, 0x00, 0x23, 0x01, 0x00, 0x02, 5, 0, 0, 0},
               std::string("Ab\0\0\0", 5), {0xB8})},
      {"extended locator behind the strings, before the vcode",
       fields(0x7F020301, 0, 0x80, 0x12345678, 0x41, 0, "bank@2", "bank", ""),
       bytesOf({0x22, 0, 0, 0, 0x01, 0x03, 0x02, 0x7F, 0xFF, 0xFF, 0xFF, 0x80, 0, 0, 0, 0},
               std::string("bank@2\0bank\0\0", 13), {0x78, 0x56, 0x34, 0x12, 0x41})},
      {"no vcode outside language 1",
       fields(0x00010106, 0xFFFFFE, 0, std::nullopt, std::nullopt, 0x01020304, "x", "", "X"),
       bytesOf({0x15, 0, 0, 0, 0x06, 0x01, 0x01, 0x00, 0xFE, 0xFF, 0xFF, 0x00, 4, 3, 2, 1},
               std::string("x\0\0X\0", 5), {})},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(indexRecordSize(row.fields), row.expected.size()) << row.name;
    EXPECT_EQ(build(row.fields), row.expected) << row.name;
  }
}

TEST(IndexRecordBuilder, RefusesWhatMakesNoRecord) {
  IndexRecordFields base;
  base.searchKey = "key";
  base.vcode = 0xB8;
  const std::string longest(1024 - 16 - 4 - 3, 'a');  // the whole record 1024 bytes
  const std::string tooLong(longest.size() + 1, 'a');
  const std::string withZero("a\0b", 3);

  struct Row {
    const char* name;
    IndexRecordFields fields;
    size_t size;
  };
  auto with = [&base](auto change) {
    IndexRecordFields f = base;
    change(f);
    return f;
  };
  const Row rows[] = {
      {"plain", base, 16 + 4 + 2 + 1},
      {"1024 bytes", with([&](auto& f) { f.headword = longest; }), 1024},
      {"1025 bytes", with([&](auto& f) { f.headword = tooLong; }), 0},
      {"locator needs the extended form", with([](auto& f) { f.contentRef = 0xFFFFFF; }), 0},
      {"zero byte in a string", with([&](auto& f) { f.displayWord = withZero; }), 0},
  };
  for (const Row& row : rows) EXPECT_EQ(indexRecordSize(row.fields), row.size) << row.name;

  Bytes small(22, 0xEE);
  EXPECT_EQ(buildIndexRecord(base, small.data(), small.size()), 0u);
  EXPECT_EQ(small, Bytes(22, 0xEE));  // untouched when it does not fit
}

TEST(IndexRecordBuilder, ReadersTakeItsRecordsApart) {
  IndexRecordFields f;
  f.contentDictId = 0x00010101;
  f.contentRef = 77;
  f.level = 9;
  f.vcode = 0x41;
  f.searchKey = "cafe@1";
  f.headword = "caf\xE9";
  f.displayWord = "Caf\xE9";
  Bytes record = build(f);
  dict::IndexRecordView view;
  ASSERT_TRUE(dict::parseIndexRecord(record.data(), uint32_t(record.size()), &view));
  EXPECT_STREQ(view.searchKey, "cafe@1");
  EXPECT_STREQ(view.key(), "caf\xE9");
  EXPECT_STREQ(view.word(), "Caf\xE9");
  EXPECT_EQ(view.level(), 9u);
  EXPECT_EQ(view.lastByte, 0x41);
}

}  // namespace
}  // namespace orvia::compile
