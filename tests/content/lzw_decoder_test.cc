// The LZW decoders against code streams worked out by hand from the format: 9-bit codes
// packed into little-endian 32-bit words from the most significant bit.
#include "content/lzw_decoder.h"

#include <gtest/gtest.h>

#include <string>

#include "content_test_util.h"

namespace orvia::content {
namespace {

using test::Bytes;
using test::CodePacker;

struct Type1Case {
  const char* name;
  Bytes body;
  uint32_t capacity;
  std::string expected;  // empty: the call gives 0
};

std::string decode1(const Bytes& body, uint32_t capacity, uint32_t* result) {
  std::string out(capacity + 8, '\x7F');
  *result = lzwType1Decode(body.data(), uint32_t(body.size()),
                           reinterpret_cast<uint8_t*>(out.data()), capacity);
  // Nothing may be written past the capacity.
  EXPECT_EQ(out.substr(capacity), std::string(8, '\x7F'));
  return out;
}

TEST(LzwType1Test, HandWorkedStreams) {
  const Type1Case cases[] = {
      // 97, 98, end: 001100001 001100010 000000000, padded.
      {"two literals", {0x00, 0x80, 0x98, 0x30}, 16, "ab"},
      // 97, 257 (the entry just created: "a" plus its own first byte), end.
      {"code equal to the entry just created", {0x00, 0x40, 0xC0, 0x30}, 16, "aaa"},
      // 97, 98, 257 ("ab", an older entry), end in the second word.
      {"older entry", {0x20, 0xA0, 0x98, 0x30, 0, 0, 0, 0}, 16, "abab"},
      // 97, 256 (widen), 98 in 10 bits, end in 10 bits.
      {"width grows at 256", {0x20, 0x06, 0xC0, 0x30, 0, 0, 0, 0}, 16, "ab"},
      // The end code lies in a last word cut to two bytes: the missing bytes read as 0.
      {"short last word reads as zero", {0x20, 0xA0, 0x98, 0x30, 0, 0}, 16, "abab"},
      {"capacity exactly full", {0x00, 0x80, 0x98, 0x30}, 3, "ab"},
      {"capacity one byte short", {0x00, 0x80, 0x98, 0x30}, 2, ""},
      {"capacity 1 never writes out[1]", {0x00, 0x80, 0x98, 0x30}, 1, ""},
      {"first code 0", {0, 0, 0, 0}, 16, ""},
      // The end code needs bits of a word that is not there.
      {"stream ends before the end code", {0x20, 0xA0, 0x98, 0x30}, 16, ""},
      {"empty body", {}, 16, ""},
      // 97, 300 (no such entry yet), end.
      {"code past the last entry", CodePacker().add(97, 9).add(300, 9).add(0, 9).bytes(), 16, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    uint32_t result;
    std::string out = decode1(c.body, c.capacity, &result);
    EXPECT_EQ(result, c.expected.size());
    if (!c.expected.empty()) {
      EXPECT_EQ(out.substr(0, result), c.expected);
      EXPECT_EQ(out[result], '\0');
      EXPECT_EQ(lzwType1Size(c.body.data(), uint32_t(c.body.size())), c.expected.size());
    }
  }
}

TEST(LzwType1Test, SizeOfFirstCodeZeroIsZero) {
  const Bytes body{0, 0, 0, 0};
  EXPECT_EQ(lzwType1Size(body.data(), 4), 0u);
}

TEST(LzwType1Test, WideningPastSixteenBitsFails) {
  CodePacker p;
  p.add('a', 9);
  for (uint32_t w = 9; w <= 16; ++w) p.add(256, w);
  p.add(0, 17);
  Bytes body = p.bytes();
  uint32_t result;
  decode1(body, 64, &result);
  EXPECT_EQ(result, 0u);
  EXPECT_EQ(lzwType1Size(body.data(), uint32_t(body.size())), 0u);
}

// Literals fill entries 257..32767; then the table is full: no entry is made, old
// entries still decode, and the code one past the last entry repeats the previous
// string plus its first byte.
TEST(LzwType1Test, FullTableKeepsDecoding) {
  CodePacker p;
  std::string literals;
  uint32_t width = 9;
  for (uint32_t i = 0; i <= 32511; ++i) {
    char c = char('a' + i % 26);
    literals += c;
    p.add(uint8_t(c), width);
  }
  while (width < 15) p.add(256, width++);
  CodePacker good = p, bad = p;
  // Entry 32767 was made by code 32511: the literals 32510 and 32511.
  good.add(32767, 15).add(256, 15).add(32768, 16).add(0, 16);
  bad.add(256, 15).add(32769, 16).add(0, 16);
  std::string pair = literals.substr(32510, 2);
  std::string expected = literals + pair + pair + pair[0];

  Bytes body = good.bytes();
  std::string out(expected.size() + 1, '\0');
  EXPECT_EQ(lzwType1Decode(body.data(), uint32_t(body.size()),
                           reinterpret_cast<uint8_t*>(out.data()), uint32_t(out.size())),
            expected.size());
  EXPECT_TRUE(out.compare(0, expected.size(), expected) == 0);
  EXPECT_EQ(lzwType1Size(body.data(), uint32_t(body.size())), expected.size());

  Bytes badBody = bad.bytes();
  EXPECT_EQ(lzwType1Decode(badBody.data(), uint32_t(badBody.size()),
                           reinterpret_cast<uint8_t*>(out.data()), uint32_t(out.size())),
            0u);
}

struct Type64Case {
  const char* name;
  Bytes codes;
  uint32_t capacity;
  std::string expected;
};

TEST(LzwType64Test, HandWorkedStreams) {
  const Type64Case cases[] = {
      // 97, 98, 256 (end).
      {"two literals", {0x00, 0xA0, 0x98, 0x30}, 16, "ab"},
      // 97, 98, 258 (reset), 99 as a 9-bit literal, 256.
      {"reset then literal", {0x46, 0xA0, 0x98, 0x30, 0x00, 0x00, 0x00, 0x38}, 16, "abc"},
      {"literal 0 is text", CodePacker().add(0, 9).add('z', 9).add(256, 9).bytes(), 16,
       std::string("\0z", 2)},
      {"width grows at 257", CodePacker().add('a', 9).add(257, 9).add('b', 10).add(256, 10).bytes(),
       16, "ab"},
      // After the reset the table starts at 259 again: 259 is the entry just created.
      {"entry numbers restart after reset",
       CodePacker().add('a', 9).add('b', 9).add(258, 9).add('c', 9).add(259, 9).add(256, 9).bytes(),
       16, "abccc"},
      {"reset then end", CodePacker().add('a', 9).add(258, 9).add(256, 9).bytes(), 16, "a"},
      {"first code 256", CodePacker().add(256, 9).bytes(), 16, ""},
      {"code past the last entry", CodePacker().add('a', 9).add(260, 9).add(256, 9).bytes(), 16,
       ""},
      {"capacity exactly full", {0x00, 0xA0, 0x98, 0x30}, 3, "ab"},
      {"capacity one byte short", {0x00, 0xA0, 0x98, 0x30}, 2, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::string out(c.capacity + 8, '\x7F');
    uint32_t result = lzwType64Decode(c.codes.data(), uint32_t(c.codes.size()),
                                      reinterpret_cast<uint8_t*>(out.data()), c.capacity);
    EXPECT_EQ(result, c.expected.size());
    EXPECT_EQ(out.substr(c.capacity), std::string(8, '\x7F'));
    if (!c.expected.empty()) {
      EXPECT_EQ(out.substr(0, result), c.expected);
    }
  }
}

}  // namespace
}  // namespace orvia::content
