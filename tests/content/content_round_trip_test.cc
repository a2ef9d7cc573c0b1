// Random texts through every record coding of the data-file writer, as single records
// and as chains into further files, read back with the record operations byte for byte.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "compile/content/content_record_encoder.h"
#include "compile/content/data_file_writer.h"
#include "content/content_record.h"
#include "support/case_table.h"
#include "support/folder_resolver.h"
#include "support/temp_dir.h"

namespace orvia::content {
namespace {

using compile::EntryEncoding;
using orvia::testing::resolveInFolder;

const auto u8 = [](const std::string& s) { return reinterpret_cast<const uint8_t*>(s.data()); };

// Lines of words, double-byte runs and the odd tilde, each text ending with CR LF "~!":
// three texts of each length from a few bytes to several records' worth, then one long
// and repetitive enough to fill the LZW table several times over.
std::vector<std::string> randomTexts() {
  std::mt19937 rng(3);
  std::vector<std::string> texts;
  for (uint32_t length :
       {4u, 4u, 4u, 20u, 20u, 20u, 300u, 300u, 300u, 5000u, 5000u, 5000u, 70000u, 70000u, 70000u}) {
    std::string s = "headword";
    while (s.size() < length) {
      const uint32_t kind = rng() % 8;
      if (kind == 0) {
        s += rng() % 3 != 0 ? "\r\n" : rng() % 2 ? "\r\n~A" : "\r\n~I";
      } else if (kind == 1) {
        for (int i = rng() % 6; i >= 0; --i) {
          s += char(0xB0 + rng() % 0x40);
          s += char(rng() % 2 ? 0xA1 + rng() % 0x5E : 0x40 + rng() % 0x3F);
        }
      } else if (kind == 2) {
        s += "~x";
      } else {
        s += ' ';
        for (int i = 1 + rng() % 9; i > 0; --i) s += char('a' + rng() % 26);
      }
    }
    texts.push_back(s + "\r\n~!");
  }
  std::string runs;
  while (runs.size() < 400000) runs += texts[9 + rng() % 6].substr(0, 2000);
  texts.push_back(runs + "\r\n~!");
  return texts;
}

compile::HuffmanStatistics statisticsOf(const std::vector<std::string>& texts) {
  compile::HuffmanStatistics statistics;
  for (const auto& t : texts) statistics.add(u8(t), uint32_t(t.size()));
  return statistics;
}

class RoundTripTest : public ::testing::Test {
 protected:
  // Writes the texts into a new data file, as single records every text with every
  // coding given, else text i with coding i (modulo their count), and reads them back:
  // size and text exactly, and, for single records, no room one byte short.
  void writeAndReadBack(const compile::DataFileOptions& options,
                        const std::vector<EntryEncoding>& encodings, bool single) {
    orvia::testing::TempDir dir;
    orvia::testing::resolveIn(dir.path(), 0x00010203);
    const std::string path = dir.file("00010203.DAT");
    compile::DataFileWriter writer;
    ASSERT_TRUE(writer.create(path, &huffman_, options));
    const size_t count = texts_.size() * (single ? encodings.size() : 1);
    std::vector<uint32_t> offsets(count);
    for (size_t i = 0; i < count; ++i) {
      const std::string& t = texts_[i % texts_.size()];
      const EntryEncoding encoding = encodings[single ? i / texts_.size() : i % encodings.size()];
      ASSERT_TRUE(writer.addEntry(u8(t), uint32_t(t.size()), encoding, &offsets[i]));
    }
    EXPECT_TRUE(!single || writer.tally().storedInstead == 0) << "a coding gave way to storing";
    EXPECT_EQ(writer.furtherFileNames().empty(), single);
    ASSERT_TRUE(writer.finish() && writer.commit());
    FileHandle file = openFileRead(path.c_str());
    for (size_t i = 0; i < offsets.size(); ++i) {
      SCOPED_TRACE(::testing::Message() << "entry " << i << " of " << offsets.size());
      const std::string& t = texts_[i % texts_.size()];
      uint32_t size = 0, length = 0;
      std::string out(t.size() + 1, '\0');
      auto read = [&](size_t capacity) {
        return contentTextAt(file, offsets[i], out.data(), uint32_t(capacity), &resolveInFolder,
                             &length)
            .cause();
      };
      EXPECT_TRUE(contentSizeAt(file, offsets[i], &resolveInFolder, &size).ok());
      EXPECT_EQ(size, t.size());
      EXPECT_EQ(read(t.size() + 1), Cause::kOk);
      EXPECT_TRUE(length == t.size() && out.compare(0, t.size(), t) == 0);
      EXPECT_TRUE(!single || read(t.size()) == Cause::kNoRoom) << "one byte short";
    }
    closeFile(file);
  }

  const std::vector<std::string> texts_ = randomTexts();
  const compile::HuffmanEncoder huffman_{statisticsOf(texts_)};
};

TEST_F(RoundTripTest, EverySingleCodingBackThroughTheRecordOperations) {
  writeAndReadBack({},
                   {EntryEncoding::kStored, EntryEncoding::kLzw, EntryEncoding::kMasked,
                    EntryEncoding::kHuffman, EntryEncoding::kLzwSized},
                   true);
}

// Small pieces make chains, a small continuation limit sends them into further files
// named by id and name, and every coding is used. (The file-index form that names a
// further file by its full path is read from hand-worked bytes in the record tests.)
TEST_F(RoundTripTest, ChainsAndFurtherFilesBackThroughTheRecordOperations) {
  std::vector<EntryEncoding> encodings;
  for (int e = 0; e <= int(EntryEncoding::kSmallest); ++e) encodings.push_back(EntryEncoding(e));
  writeAndReadBack({0x00010203, 3000, 0x10007 + 400000}, encodings, false);
}

TEST_F(RoundTripTest, EncodersRefuseWhatTheirDecodersCannotGiveBack) {
  for (const orvia::testing::CaseRow& c :
       orvia::testing::caseTable("content/refused_encodings.txt")) {
    SCOPED_TRACE(c.line);
    compile::RecordEncoding encoding;
    encoding.type = ContentType(c.number(0));
    encoding.huffman = &huffman_;
    const std::string text = *c.bytes(1);
    std::vector<uint8_t> record;
    EXPECT_FALSE(compile::encodeContentRecord(encoding, u8(text), uint32_t(text.size()), &record));
  }
}

}  // namespace
}  // namespace orvia::content
