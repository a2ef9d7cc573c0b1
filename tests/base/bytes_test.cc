#include "base/bytes.h"

#include <gtest/gtest.h>

#include <vector>

namespace orvia {
namespace {

enum class Read { kU8, kU16, kU32, kString };

// One read from the front of exactly these bytes (a buffer of their size, so that a read
// past it trips the address sanitizer).
struct Case {
  const char* expectation;
  Read read;
  std::vector<uint8_t> bytes;
  bool ok;
  uint32_t value;  // the integer, or the string's length
  size_t moved;    // how far the reader moved
};

const Case kCases[] = {
    {"u8 takes one byte", Read::kU8, {0xAB, 0xCD}, true, 0xAB, 1},
    {"u16 is little-endian", Read::kU16, {0x34, 0x12, 0xFF}, true, 0x1234, 2},
    {"u32 is little-endian", Read::kU32, {0x78, 0x56, 0x34, 0x12}, true, 0x12345678, 4},
    {"u8 at the limit fails", Read::kU8, {}, false, 0, 0},
    {"u16 one byte short fails", Read::kU16, {0x34}, false, 0, 0},
    {"u32 one byte short fails", Read::kU32, {1, 2, 3}, false, 0, 0},
    {"a string moves past its terminator", Read::kString, {'a', 'b', 0, 'c'}, true, 2, 3},
    {"an empty string is its terminator", Read::kString, {0, 'x'}, true, 0, 1},
    {"a terminator may be the last byte", Read::kString, {'a', 'b', 0}, true, 2, 3},
    {"no terminator before the limit fails", Read::kString, {'a', 'b'}, false, 0, 0},
    {"a string at the limit fails", Read::kString, {}, false, 0, 0},
};

TEST(ByteReader, ReadsStopAtTheLimit) {
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.expectation);
    const uint8_t* begin = c.bytes.data();
    ByteReader in(begin, begin + c.bytes.size());
    bool ok = false;
    uint32_t value = 0;
    uint8_t u8;
    uint16_t u16;
    const char* text;
    size_t length;
    switch (c.read) {
      case Read::kU8:
        if ((ok = in.readU8(&u8))) value = u8;
        break;
      case Read::kU16:
        if ((ok = in.readU16(&u16))) value = u16;
        break;
      case Read::kU32:
        ok = in.readU32(&value);
        break;
      case Read::kString:
        if ((ok = in.readString(&text, &length))) {
          value = uint32_t(length);
          EXPECT_EQ(text, reinterpret_cast<const char*>(begin));
        }
        break;
    }
    EXPECT_EQ(ok, c.ok);
    EXPECT_EQ(value, c.value);
    EXPECT_EQ(in.position(), begin + c.moved);
    EXPECT_EQ(in.remaining(), c.bytes.size() - c.moved);
  }
}

}  // namespace
}  // namespace orvia
