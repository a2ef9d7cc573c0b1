// Random texts through every encoder and back through the decoders, byte for byte, and
// whole data files written by the data-file writer and read with the record operations.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>

#include "base/bytes.h"
#include "compile/content/content_record_encoder.h"
#include "compile/content/data_file_writer.h"
#include "content/content_record.h"
#include "content/huffman_decoder.h"
#include "content/lzw_decoder.h"
#include "content/unmask.h"
#include "support/folder_resolver.h"
#include "support/temp_dir.h"

namespace orvia::content {
namespace {

using compile::DataFileOptions;
using compile::DataFileWriter;
using compile::EntryEncoding;
using compile::HuffmanEncoder;
using compile::HuffmanStatistics;
using Bytes = std::vector<uint8_t>;

// Lines of words, double-byte runs and the odd tilde, ending with CR LF "~!".
std::string randomText(std::mt19937& rng, uint32_t length) {
  std::string s = "headword";
  while (s.size() < length) {
    switch (rng() % 8) {
      case 0:
        s += "\r\n";
        if (rng() % 3 == 0) s += rng() % 2 ? "~A" : "~I";
        break;
      case 1:
        for (int i = rng() % 6; i >= 0; --i) {
          s += char(0xB0 + rng() % 0x40);
          s += char(rng() % 2 ? 0xA1 + rng() % 0x5E : 0x40 + rng() % 0x3F);
        }
        break;
      case 2:
        s += "~x";
        break;
      default:
        s += ' ';
        for (int i = 1 + rng() % 9; i > 0; --i) s += char('a' + rng() % 26);
    }
  }
  return s + "\r\n~!";
}

// Decodes one record body with the codec of its type.
std::string decodeBody(const Bytes& record, const HuffmanDecoder& huffman, uint32_t capacity) {
  const uint8_t* body = record.data() + 8;
  const uint32_t size = (loadU32Le(record.data()) & 0xFFFFFF) - 8;
  std::string out(capacity, '\0');
  uint8_t* o = reinterpret_cast<uint8_t*>(out.data());
  switch (record[3]) {
    case kStoredContent:
      return std::string(body, body + size);
    case kLzwContent:
      return out.substr(0, lzwType1Decode(body, size, o, capacity));
    case kMaskedContent:
      unmaskType2(body, o, size - 4);
      return out.substr(0, size - 4);
    case kHuffmanContent:
      return out.substr(0, huffman.decode(body, size, o, capacity));
    default:
      return out.substr(0, lzwType64Decode(body + 4, size - 4, o, capacity));
  }
}

class RoundTripTest : public ::testing::Test {
 protected:
  RoundTripTest() : rng_(3) {
    for (uint32_t length : {4u, 20u, 300u, 5000u, 70000u}) {
      for (int i = 0; i < 3; ++i) texts_.push_back(randomText(rng_, length));
    }
    // Long and repetitive enough to fill the LZW table several times over.
    std::string runs;
    while (runs.size() < 400000) runs += texts_[9 + rng_() % 6].substr(0, 2000);
    texts_.push_back(runs + "\r\n~!");
    for (const auto& t : texts_)
      statistics_.add(reinterpret_cast<const uint8_t*>(t.data()), uint32_t(t.size()));
  }

  std::mt19937 rng_;
  std::vector<std::string> texts_;
  HuffmanStatistics statistics_;
};

TEST_F(RoundTripTest, EveryEncoderBackThroughItsDecoder) {
  HuffmanEncoder huffman(statistics_);
  HuffmanDecoder decoder;
  HuffmanTrees trees;
  for (uint32_t t = 0; t < 3; ++t) {
    trees.tree[t] = huffman.treeBytes(t).data();
    trees.size[t] = uint32_t(huffman.treeBytes(t).size());
  }
  ASSERT_TRUE(decoder.load(trees));
  for (ContentType type :
       {kStoredContent, kLzwContent, kMaskedContent, kHuffmanContent, kLzwSizedContent}) {
    for (const auto& text : texts_) {
      SCOPED_TRACE(::testing::Message() << "type " << int(type) << " length " << text.size());
      compile::RecordEncoding encoding;
      encoding.type = type;
      encoding.huffman = &huffman;
      Bytes record;
      ASSERT_TRUE(compile::encodeContentRecord(
          encoding, reinterpret_cast<const uint8_t*>(text.data()), uint32_t(text.size()), &record));
      ASSERT_TRUE(decodeBody(record, decoder, uint32_t(text.size() + 1)) == text);
      const uint8_t* body = record.data() + 8;
      const uint32_t bodySize = uint32_t(record.size() - 8);
      uint32_t size = type == kLzwContent        ? lzwType1Size(body, bodySize)
                      : type == kHuffmanContent  ? decoder.textSize(body, bodySize)
                      : type == kLzwSizedContent ? loadU32Le(record.data() + 8)
                                                 : uint32_t(text.size());
      EXPECT_EQ(size, text.size());
      if (type == kLzwContent || type == kLzwSizedContent || type == kHuffmanContent) {
        // One byte short of room: nothing.
        EXPECT_EQ(decodeBody(record, decoder, uint32_t(text.size())), "");
      }
    }
  }
}

TEST_F(RoundTripTest, EncodersRefuseWhatTheirDecodersCannotGiveBack) {
  HuffmanEncoder huffman(statistics_);
  struct Case {
    const char* name;
    ContentType type;
    std::string text;
  };
  const Case cases[] = {
      {"NUL in an LZW type-1 text", kLzwContent, std::string("a\0b", 3)},
      {"marker before the end", kHuffmanContent, "ab~!cd\r\n~!"},
      {"no marker at the end", kHuffmanContent, "abcd"},
      {"lone switch byte", kHuffmanContent, "a\xFF\r\n~!"},
      {"empty text", kStoredContent, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    compile::RecordEncoding encoding;
    encoding.type = c.type;
    encoding.huffman = &huffman;
    Bytes record;
    EXPECT_FALSE(compile::encodeContentRecord(encoding,
                                              reinterpret_cast<const uint8_t*>(c.text.data()),
                                              uint32_t(c.text.size()), &record));
  }
}

// Small pieces make chains, a small continuation limit sends them into further files
// named by id and name (or by full path), and every coding is used.
TEST_F(RoundTripTest, DataFilesReadBackThroughTheRecordOperations) {
  HuffmanEncoder huffman(statistics_);
  for (uint32_t dictId : {0u, 0x00010203u}) {
    SCOPED_TRACE(dictId);
    orvia::testing::TempDir dir;
    orvia::testing::resolveIn(dir.path(), 0x00010203);
    DataFileOptions options;
    options.dictId = dictId;
    options.maxPieceSize = 3000;
    options.continuationLimit = 0x10007 + 400000;
    DataFileWriter writer;
    ASSERT_TRUE(writer.create(dir.file("00010203.DAT"), &huffman, options));
    std::vector<uint32_t> offsets;
    const EntryEncoding encodings[] = {EntryEncoding::kStored,   EntryEncoding::kLzw,
                                       EntryEncoding::kMasked,   EntryEncoding::kHuffman,
                                       EntryEncoding::kLzwSized, EntryEncoding::kComposite,
                                       EntryEncoding::kSmallest};
    for (size_t i = 0; i < texts_.size(); ++i) {
      uint32_t offset;
      const std::string& t = texts_[i];
      ASSERT_TRUE(writer.addEntry(reinterpret_cast<const uint8_t*>(t.data()), uint32_t(t.size()),
                                  encodings[i % std::size(encodings)], &offset));
      offsets.push_back(offset);
    }
    EXPECT_FALSE(writer.furtherFileNames().empty());
    for (const auto& name : writer.furtherFileNames()) {
      EXPECT_EQ(name.size(), 12u);
      EXPECT_EQ(name.substr(8), ".DAT");
      EXPECT_NE(name.find_first_not_of("0123456789ABCDEF"), std::string::npos);
    }
    ASSERT_TRUE(writer.finish());
    ASSERT_TRUE(writer.commit());

    FileHandle file = openFileRead(dir.file("00010203.DAT").c_str());
    for (size_t i = 0; i < texts_.size(); ++i) {
      SCOPED_TRACE(i);
      const std::string& t = texts_[i];
      uint32_t size = 0, length = 0;
      EXPECT_TRUE(contentSizeAt(file, offsets[i], &orvia::testing::resolveInFolder, &size).ok());
      EXPECT_EQ(size, t.size());
      std::string out(t.size() + 1, '\0');
      EXPECT_TRUE(contentTextAt(file, offsets[i], out.data(), uint32_t(out.size()),
                                &orvia::testing::resolveInFolder, &length)
                      .ok());
      EXPECT_EQ(length, t.size());
      EXPECT_TRUE(out.compare(0, t.size(), t) == 0);
    }
    closeFile(file);
  }
}

}  // namespace
}  // namespace orvia::content
