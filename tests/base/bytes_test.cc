#include "base/bytes.h"

#include <gtest/gtest.h>

#include <memory>

#include "support/case_table.h"

namespace orvia {
namespace {

using namespace orvia::testing;

TEST(ByteReader, ReadsStopAtTheLimit) {
  forEachCase("base/byte_reads.txt", [&](const CaseRow& c) {
    const std::string bytes = *c.bytes(2);
    auto exact = std::make_unique<uint8_t[]>(bytes.size());
    std::copy(bytes.begin(), bytes.end(), exact.get());
    ByteReader in(exact.get(), exact.get() + bytes.size());
    uint32_t value = 0;
    uint8_t u8 = 0;
    uint16_t u16 = 0;
    const char* text = nullptr;
    size_t length = 0;
    const std::string& read = c.fields[1];
    const bool ok = read == "u8"    ? in.readU8(&u8)
                    : read == "u16" ? in.readU16(&u16)
                    : read == "u32" ? in.readU32(&value)
                                    : in.readString(&text, &length);
    if (read != "u32") value = read == "u8" ? u8 : read == "u16" ? u16 : uint32_t(length);
    EXPECT_EQ(ok, c.number(3) != 0);
    EXPECT_EQ(value, c.number(4));
    EXPECT_EQ(text, ok && read == "string" ? reinterpret_cast<const char*>(exact.get()) : nullptr);
    EXPECT_EQ(in.position(), exact.get() + c.number(5));
    EXPECT_EQ(in.remaining(), bytes.size() - size_t(c.number(5)));
  });
}

}  // namespace
}  // namespace orvia
