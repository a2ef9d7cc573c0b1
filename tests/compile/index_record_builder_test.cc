#include "compile/key/index_record_builder.h"

#include <gtest/gtest.h>

#include <string>

#include "support/case_table.h"

namespace orvia::compile {
namespace {

// The rows are in tests/data/compile/index_records.txt.
TEST(IndexRecordBuilder, LaysRecordsOutByteForByteOrRefusesThem) {
  for (const orvia::testing::CaseRow& c : orvia::testing::caseTable("compile/index_records.txt")) {
    SCOPED_TRACE(c.line);
    const std::string strings[] = {*c.bytes(7), *c.bytes(8), *c.bytes(9)};
    IndexRecordFields fields{uint32_t(c.number(1)),
                             uint32_t(c.number(2)),
                             uint8_t(c.number(3)),
                             {},
                             {},
                             uint32_t(c.number(6)),
                             strings[0],
                             strings[1],
                             strings[2]};
    if (c.fields[4] != "-") fields.extendedRef = uint32_t(c.number(4));
    if (c.fields[5] != "-") fields.vcode = uint8_t(c.number(5));
    const std::string expected = c.bytes(10).value_or("");
    EXPECT_EQ(indexRecordSize(fields), expected.size());
    std::string out(1100, '\xEE');
    const size_t size = buildIndexRecord(fields, reinterpret_cast<uint8_t*>(out.data()), 1100);
    EXPECT_EQ(out.substr(0, size), expected);
    // One byte short of its record, the buffer is left untouched.
    std::string small(expected.size(), '\xEE');
    const size_t shortOne = small.empty() ? 0 : small.size() - 1;
    EXPECT_EQ(buildIndexRecord(fields, reinterpret_cast<uint8_t*>(small.data()), shortOne), 0u);
    EXPECT_EQ(small, std::string(expected.size(), '\xEE'));
  }
}

}  // namespace
}  // namespace orvia::compile
