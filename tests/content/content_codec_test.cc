// The LZW and Huffman decoders against code streams and trees worked out by hand
// (tests/data/content/lzw1, lzw64, huffman; the usual trees are those of head.hex).
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "base/bytes.h"
#include "content/huffman_decoder.h"
#include "content/lzw_decoder.h"
#include "support/golden.h"

namespace orvia::content {
namespace {

using orvia::testing::goldenBytes;

// Trees laid out as a data file holds them from 0x10001: three u16 sizes, then the trees.
struct GoldenTrees {
  explicit GoldenTrees(const std::string& file)
      : bytes(file == "head" ? goldenBytes("content/head.hex").substr(0x10001)
                             : goldenBytes("content/huffman/" + file + ".hex")) {
    const uint8_t* p = reinterpret_cast<const uint8_t*>(bytes.data());
    for (uint32_t t = 0, at = 6; t < 3 && bytes.size() >= 6; at += view.size[t++]) {
      view.tree[t] = p + at;
      view.size[t] = loadU16Le(p + 2 * t);
    }
  }
  std::string bytes;
  HuffmanTrees view;
};

enum Codec { kLzw1, kLzw64, kHuffman };

struct StreamCase {
  Codec codec;
  const char* file;
  uint32_t capacity;
  std::string text;  // empty: the decoder gives 0
  const char* trees = "head";
};

const StreamCase kStreams[] = {
    {kLzw1, "two_literals", 16, "ab"},
    {kLzw1, "code_just_created", 16, "aaa"},
    {kLzw1, "older_entry", 16, "abab"},
    {kLzw1, "widen_at_256", 16, "ab"},
    {kLzw1, "short_last_word", 16, "abab"},
    {kLzw1, "two_literals", 3, "ab"},
    {kLzw1, "two_literals", 2, ""},
    {kLzw1, "two_literals", 1, ""},
    {kLzw1, "first_code_0", 16, ""},
    {kLzw1, "ends_before_end_code", 16, ""},
    {kLzw1, "empty", 16, ""},
    {kLzw1, "code_past_last_entry", 16, ""},
    {kLzw1, "widen_past_16_bits", 16, ""},
    {kLzw64, "two_literals", 16, "ab"},
    {kLzw64, "reset_then_literal", 16, "abc"},
    {kLzw64, "literal_0", 16, std::string("\0z", 2)},
    {kLzw64, "width_grows_at_257", 16, "ab"},
    {kLzw64, "entry_numbers_restart", 16, "abccc"},
    {kLzw64, "reset_then_end", 16, "a"},
    {kLzw64, "first_code_256", 16, ""},
    {kLzw64, "code_past_last_entry", 16, ""},
    {kLzw64, "two_literals", 3, "ab"},
    {kLzw64, "two_literals", 2, ""},
    {kHuffman, "two_letters_marker", 16, "ab~!"},
    {kHuffman, "two_letters_marker", 5, "ab~!"},
    {kHuffman, "two_letters_marker", 4, ""},
    {kHuffman, "disarmed_rearmed_crlf", 16, "~a~!\r\n~!"},
    {kHuffman, "rearmed_cr", 16, "~a\r~!"},
    {kHuffman, "tilde_cr", 16, "~a~\r~!"},
    {kHuffman, "double_byte", 16, "a\xB0\xA1\xB0\xA2~!"},
    {kHuffman, "ends_before_marker", 16, ""},
    {kHuffman, "empty", 16, ""},
    {kHuffman, "two_letters_marker", 16, "ab~!", "trees_leaf_roots_tree1_tree2"},
    {kHuffman, "double_byte", 16, "", "trees_leaf_roots_tree1_tree2"},
    {kHuffman, "zero_byte", 16, "", "trees_branch_out_of_tree"},
    {kHuffman, "zero_byte", 16, "", "trees_leaf_not_a_byte"},
};

TEST(ContentCodec, GoldenStreams) {
  const char* const kFolders[] = {"lzw1", "lzw64", "huffman"};
  for (const StreamCase& c : kStreams) {
    SCOPED_TRACE(::testing::Message() << kFolders[c.codec] << "/" << c.file << ", capacity "
                                      << c.capacity << ", trees " << c.trees);
    const std::string bytes =
        goldenBytes(std::string("content/") + kFolders[c.codec] + "/" + c.file + ".hex");
    const uint8_t* body = reinterpret_cast<const uint8_t*>(bytes.data());
    const uint32_t size = uint32_t(bytes.size());
    std::string out(c.capacity + 8, '\x7F');
    uint8_t* o = reinterpret_cast<uint8_t*>(out.data());
    const GoldenTrees trees(c.trees);
    HuffmanDecoder decoder;
    uint32_t got = 0, textSize = c.text.size();
    if (c.codec == kLzw1) {
      got = lzwType1Decode(body, size, o, c.capacity);
      textSize = lzwType1Size(body, size);
    } else if (c.codec == kLzw64) {
      got = lzwType64Decode(body, size, o, c.capacity);
    } else {
      ASSERT_TRUE(decoder.load(trees.view));
      got = huffmanTextDecode(trees.view, body, size, o, c.capacity);
      textSize = decoder.textSize(body, size);
      EXPECT_EQ(huffmanTextSize(trees.view, body, size), textSize);
    }
    EXPECT_EQ(got, c.text.size());
    EXPECT_EQ(out.substr(c.capacity), std::string(8, '\x7F')) << "wrote past the capacity";
    if (got != 0) {
      EXPECT_EQ(out.substr(0, got + 1), c.text + '\0');
    }
    if (c.capacity == 16) {
      EXPECT_EQ(textSize, c.text.size());
    }
  }
}

// False for trees that would yield symbols without reading bits whatever the text: a
// leaf at the root of tree 0. Leaves at the roots of trees 1 and 2 fail only a run.
TEST(ContentCodec, HuffmanTreesThatYieldWithoutBitsAreRefused) {
  const std::pair<const char*, bool> cases[] = {
      {"trees_leaf_root_tree0", false},  {"trees_leaf_roots_tree1_tree2", true},
      {"trees_switch_root_tree1", true}, {"trees_leaf_root_tree1_only", true},
      {"trees_empty_1_2", true},         {"head", true},
  };
  for (const auto& [file, usable] : cases) {
    SCOPED_TRACE(file);
    HuffmanDecoder decoder;
    EXPECT_EQ(decoder.load(GoldenTrees(file).view), usable);
  }
}

// Codes as the format packs them: 32-bit little-endian words filled from the top bit.
std::string packCodes(const std::vector<std::pair<uint32_t, uint32_t>>& codes) {
  std::vector<bool> bits;
  for (const auto& [code, width] : codes)
    for (uint32_t i = width; i-- > 0;) bits.push_back((code >> i) & 1);
  std::string out;
  for (size_t w = 0; w * 32 < bits.size(); ++w) {
    uint32_t word = 0;
    for (size_t i = w * 32; i < w * 32 + 32; ++i) word = word << 1 | (i < bits.size() && bits[i]);
    out += {char(word), char(word >> 8), char(word >> 16), char(word >> 24)};
  }
  return out;
}

uint32_t decodeType1(const std::string& body, std::string& out) {
  return lzwType1Decode(reinterpret_cast<const uint8_t*>(body.data()), uint32_t(body.size()),
                        reinterpret_cast<uint8_t*>(out.data()), uint32_t(out.size()));
}

// Literals fill entries 257..32767; then the table is full: no entry is made, old
// entries still decode, and the code one past the last entry repeats the previous
// string plus its first byte; two past it names nothing.
TEST(ContentCodec, LzwFullTableKeepsDecoding) {
  std::vector<std::pair<uint32_t, uint32_t>> codes;
  std::string literals;
  uint32_t width = 9;
  for (uint32_t i = 0; i <= 32511; ++i) {
    literals += char('a' + i % 26);
    codes.push_back({uint8_t(literals.back()), width});
  }
  while (width < 15) codes.push_back({256, width++});
  auto good = codes, bad = codes;
  // Entry 32767 was made by code 32511: the literals 32510 and 32511.
  good.insert(good.end(), {{32767, 15}, {256, 15}, {32768, 16}, {0, 16}});
  bad.insert(bad.end(), {{256, 15}, {32769, 16}, {0, 16}});
  const std::string pair = literals.substr(32510, 2);
  const std::string expected = literals + pair + pair + pair[0];
  const std::string body = packCodes(good);
  std::string out(expected.size() + 1, '\0');
  EXPECT_EQ(decodeType1(body, out), expected.size());
  EXPECT_TRUE(out.compare(0, expected.size(), expected) == 0);
  EXPECT_EQ(lzwType1Size(reinterpret_cast<const uint8_t*>(body.data()), uint32_t(body.size())),
            expected.size());
  EXPECT_EQ(decodeType1(packCodes(bad), out), 0u);
}

}  // namespace
}  // namespace orvia::content
