// Random texts through every record encoder, and through the data-file writer's chains
// and further files, read back with the record operations byte for byte.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "compile/content/content_record_encoder.h"
#include "compile/content/data_file_writer.h"
#include "content/content_record.h"
#include "support/content_files.h"
#include "support/folder_resolver.h"
#include "support/temp_dir.h"

namespace orvia::content {
namespace {

using compile::EntryEncoding;
using orvia::testing::resolveInFolder;

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

class RoundTripTest : public ::testing::Test {
 protected:
  RoundTripTest() {
    std::mt19937 rng(3);
    for (uint32_t length : {4u, 20u, 300u, 5000u, 70000u}) {
      for (int i = 0; i < 3; ++i) texts_.push_back(randomText(rng, length));
    }
    // Long and repetitive enough to fill the LZW table several times over.
    std::string runs;
    while (runs.size() < 400000) runs += texts_[9 + rng() % 6].substr(0, 2000);
    texts_.push_back(runs + "\r\n~!");
    for (const auto& t : texts_)
      statistics_.add(reinterpret_cast<const uint8_t*>(t.data()), uint32_t(t.size()));
  }

  // Reads text i back from offsets[i] of the file at path: size and text exactly, and,
  // for single records, no room one byte short.
  void expectReadBack(const std::string& path, const std::vector<uint32_t>& offsets, bool single) {
    FileHandle file = openFileRead(path.c_str());
    for (size_t i = 0; i < offsets.size(); ++i) {
      SCOPED_TRACE(::testing::Message() << "text " << i << " of " << offsets.size());
      const std::string& t = texts_[i % texts_.size()];
      uint32_t size = 0, length = 0;
      EXPECT_TRUE(contentSizeAt(file, offsets[i], &resolveInFolder, &size).ok());
      EXPECT_EQ(size, t.size());
      std::string out(t.size() + 1, '\0');
      EXPECT_TRUE(contentTextAt(file, offsets[i], out.data(), uint32_t(out.size()),
                                &resolveInFolder, &length)
                      .ok());
      EXPECT_TRUE(length == t.size() && out.compare(0, t.size(), t) == 0);
      if (single) {
        EXPECT_EQ(contentTextAt(file, offsets[i], out.data(), uint32_t(t.size()), &resolveInFolder,
                                &length)
                      .cause(),
                  Cause::kNoRoom);
      }
    }
    closeFile(file);
  }

  orvia::testing::TempDir dir_;
  std::vector<std::string> texts_;
  compile::HuffmanStatistics statistics_;
};

TEST_F(RoundTripTest, EveryEncoderBackThroughTheRecordOperations) {
  compile::HuffmanEncoder huffman(statistics_);
  // A data file around the records: no file-index entries, the encoder's trees.
  std::vector<uint8_t> file(0x10001, 0);
  for (uint32_t t = 0; t < 3; ++t) {
    const uint32_t size = uint32_t(huffman.treeBytes(t).size());
    file.insert(file.end(), {uint8_t(size), uint8_t(size >> 8)});
  }
  for (uint32_t t = 0; t < 3; ++t)
    file.insert(file.end(), huffman.treeBytes(t).begin(), huffman.treeBytes(t).end());
  std::vector<uint32_t> offsets;
  for (ContentType type :
       {kStoredContent, kLzwContent, kMaskedContent, kHuffmanContent, kLzwSizedContent}) {
    for (const auto& text : texts_) {
      compile::RecordEncoding encoding;
      encoding.type = type;
      encoding.huffman = &huffman;
      std::vector<uint8_t> record;
      ASSERT_TRUE(compile::encodeContentRecord(
          encoding, reinterpret_cast<const uint8_t*>(text.data()), uint32_t(text.size()), &record));
      ASSERT_EQ(record[3], type);
      offsets.push_back(uint32_t(file.size()));
      file.insert(file.end(), record.begin(), record.end());
    }
  }
  orvia::testing::writeFileBytes(dir_.file("records.dat"), std::string(file.begin(), file.end()));
  expectReadBack(dir_.file("records.dat"), offsets, true);
}

TEST_F(RoundTripTest, EncodersRefuseWhatTheirDecodersCannotGiveBack) {
  compile::HuffmanEncoder huffman(statistics_);
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
    std::vector<uint8_t> record;
    EXPECT_FALSE(compile::encodeContentRecord(encoding,
                                              reinterpret_cast<const uint8_t*>(c.text.data()),
                                              uint32_t(c.text.size()), &record));
  }
}

// Small pieces make chains, a small continuation limit sends them into further files
// named by id and name (or by full path), and every coding is used.
TEST_F(RoundTripTest, DataFilesReadBackThroughTheRecordOperations) {
  compile::HuffmanEncoder huffman(statistics_);
  for (uint32_t dictId : {0u, 0x00010203u}) {
    SCOPED_TRACE(dictId);
    orvia::testing::TempDir dir;
    orvia::testing::resolveIn(dir.path(), 0x00010203);
    compile::DataFileOptions options;
    options.dictId = dictId;
    options.maxPieceSize = 3000;
    options.continuationLimit = 0x10007 + 400000;
    compile::DataFileWriter writer;
    ASSERT_TRUE(writer.create(dir.file("00010203.DAT"), &huffman, options));
    std::vector<uint32_t> offsets(texts_.size());
    for (size_t i = 0; i < texts_.size(); ++i) {
      const std::string& t = texts_[i];
      ASSERT_TRUE(writer.addEntry(reinterpret_cast<const uint8_t*>(t.data()), uint32_t(t.size()),
                                  EntryEncoding(i % (int(EntryEncoding::kSmallest) + 1)),
                                  &offsets[i]));
    }
    EXPECT_FALSE(writer.furtherFileNames().empty());
    ASSERT_TRUE(writer.finish());
    ASSERT_TRUE(writer.commit());
    expectReadBack(dir.file("00010203.DAT"), offsets, false);
  }
}

}  // namespace
}  // namespace orvia::content
