// Random texts through every record coding of the data-file writer, as single records
// and as chains into further files, read back byte for byte with the record operations
// per call and in a walk through a DataFileSet.
#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "compile/content/content_record_encoder.h"
#include "compile/content/data_file_writer.h"
#include "content/content_record.h"
#include "content/data_file_set.h"
#include "support/case_table.h"
#include "support/folder_resolver.h"
#include "support/temp_dir.h"

namespace orvia::content {
namespace {

using namespace orvia::testing;

using compile::EntryEncoding;

const auto u8 = [](const std::string& s) { return reinterpret_cast<const uint8_t*>(s.data()); };

// Random words and pieces of tests/data/content/round_trip_pieces.txt, each text ending
// with CR LF "~!": three texts of each length from a few bytes to several records' worth,
// then one long and repetitive enough to fill the LZW table several times over.
std::vector<std::string> randomTexts() {
  std::vector<std::string> pieces, texts;
  for (const auto& row : caseTable("content/round_trip_pieces.txt"))
    pieces.push_back(*row.bytes(0));
  std::mt19937 rng(3);
  for (uint32_t length : {4u, 20u, 300u, 5000u, 70000u}) {
    for (int i = 0; i < 3; ++i) {
      std::string s = "headword";
      while (s.size() < length) {
        std::string word = " ";  // half the time a word of random letters
        for (int n = 1 + rng() % 9; n > 0; --n) word += char('a' + rng() % 26);
        s += rng() % 2 ? word : pieces[rng() % pieces.size()];
      }
      texts.push_back(s + "\r\n~!");
    }
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

struct Read {
  Status status;
  uint32_t size = 0;
  std::string text;
};

class RoundTripTest : public ::testing::Test {
 protected:
  // Writes the texts into a new data file, as single records every text with every
  // coding given, else text i with coding i (modulo their count), then reads them back
  // through one DataFileSet, walking all of them twice, which must read what the per-call
  // reads give: each text exactly.
  void writeAndReadBack(const compile::DataFileOptions& options,
                        const std::vector<EntryEncoding>& encodings, bool single) {
    resolveIn(dir_.path(), 0x00010203);
    compile::DataFileWriter writer;
    ASSERT_TRUE(writer.create(path_, &huffman_, options));
    offsets_.resize(texts_.size() * (single ? encodings.size() : 1));
    for (size_t i = 0; i < offsets_.size(); ++i) {
      const std::string& t = texts_[i % texts_.size()];
      const EntryEncoding encoding = encodings[single ? i / texts_.size() : i % encodings.size()];
      ASSERT_TRUE(writer.addEntry(u8(t), uint32_t(t.size()), encoding, &offsets_[i]));
    }
    EXPECT_TRUE(!single || writer.tally().storedInstead == 0) << "a coding gave way to storing";
    further_ = writer.furtherFileNames();
    EXPECT_EQ(further_.empty(), single);
    ASSERT_TRUE(writer.finish() && writer.commit());
    DataFileSet set(&resolveInFolder);
    EXPECT_EQ(expectWalkAsPerCall(set), 0u);
    EXPECT_EQ(expectWalkAsPerCall(set), 0u) << "a second walk over files already open";
  }

  // Size, then text in a buffer of that size + 1, as callers read an entry: through the
  // set, or else per call.
  Read read(DataFileSet* set, uint32_t offset) {
    Read r;
    FileHandle file = set != nullptr ? set->open(path_.c_str()) : openFileRead(path_.c_str());
    r.status = set != nullptr ? contentSizeAt(*set, file, offset, &r.size)
                              : contentSizeAt(file, offset, &resolveInFolder, &r.size);
    std::string out(r.size + 1, '\0');
    uint32_t length = 0;
    if (r.status.ok())
      r.status = set != nullptr ? contentTextAt(*set, file, offset, out.data(), r.size + 1, &length)
                                : contentTextAt(file, offset, out.data(), r.size + 1,
                                                &resolveInFolder, &length);
    if (r.status.ok()) r.text = out.substr(0, length);
    if (set == nullptr) closeFile(file);
    return r;
  }

  // Walks every entry, expecting what the per-call reads give, and those the texts
  // written; the count that fails.
  size_t expectWalkAsPerCall(DataFileSet& set) {
    size_t failed = 0;
    for (size_t i = 0; i < offsets_.size(); ++i) {
      SCOPED_TRACE(::testing::Message() << "walked entry " << i);
      const Read want = read(nullptr, offsets_[i]), got = read(&set, offsets_[i]);
      EXPECT_EQ(got.status.cause(), want.status.cause());
      EXPECT_EQ(got.status.offset(), want.status.offset());
      EXPECT_EQ(got.size, want.size);
      EXPECT_EQ(got.text, want.text);
      const std::string& text = texts_[i % texts_.size()];
      EXPECT_EQ(want.size, want.status.ok() ? text.size() : 0u);
      EXPECT_EQ(want.text, want.status.ok() ? text : "");
      failed += !want.status.ok();
    }
    return failed;
  }

  const std::vector<std::string> texts_ = randomTexts();
  const compile::HuffmanEncoder huffman_{statisticsOf(texts_)};
  TempDir dir_;
  const std::string path_ = dir_.file("00010203.DAT");
  std::vector<uint32_t> offsets_;
  std::vector<std::string> further_;
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
// Further files that vanish mid-walk fail the walk's reads as they fail per call.
TEST_F(RoundTripTest, ChainsAndFurtherFilesBackThroughTheRecordOperations) {
  std::vector<EntryEncoding> encodings;
  for (int e = 0; e <= int(EntryEncoding::kSmallest); ++e) encodings.push_back(EntryEncoding(e));
  writeAndReadBack({0x00010203, 3000, 0x10007 + 400000}, encodings, false);
  DataFileSet set(&resolveInFolder);
  ASSERT_TRUE(read(&set, offsets_[0]).status.ok()) << "the first entry lies in the main file";
  for (const auto& name : further_) std::filesystem::remove(dir_.file(name));
  EXPECT_GT(expectWalkAsPerCall(set), 0u);
}

TEST_F(RoundTripTest, EncodersRefuseWhatTheirDecodersCannotGiveBack) {
  forEachCase("content/refused_encodings.txt", [&](const CaseRow& c) {
    compile::RecordEncoding encoding;
    encoding.type = ContentType(c.number(0));
    encoding.huffman = &huffman_;
    const std::string text = *c.bytes(1);
    std::vector<uint8_t> record;
    EXPECT_FALSE(compile::encodeContentRecord(encoding, u8(text), uint32_t(text.size()), &record));
  });
}

}  // namespace
}  // namespace orvia::content
