// A walk through a DataFileSet reads what the per-call reads give, chains across further
// files included, and a further file that vanishes mid-walk fails the reads that reach it
// as it fails them per call.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "compile/content/data_file_writer.h"
#include "content/content_record.h"
#include "content/data_file_set.h"
#include "support/folder_resolver.h"
#include "support/temp_dir.h"

namespace orvia::content {
namespace {

using orvia::testing::resolveInFolder;

constexpr uint32_t kDictId = 0x00010203;

struct Read {
  Status status;
  std::string text;
};

// Size, then text in a buffer of that size + 1, as the walks of a verifier read them.
template <typename SizeOf, typename TextOf>
Read readEntry(SizeOf sizeOf, TextOf textOf) {
  Read read;
  uint32_t size = 0, length = 0;
  read.status = sizeOf(&size);
  if (!read.status.ok()) return read;
  std::string out(size + 1, '\0');
  read.status = textOf(out.data(), size + 1, &length);
  if (read.status.ok()) read.text = out.substr(0, length);
  return read;
}

class DataFileSetTest : public ::testing::Test {
 protected:
  // Entries of every coding, long ones chained in small pieces, and after the first
  // 64 KiB continuations only in further files.
  void SetUp() override {
    orvia::testing::resolveIn(dir_.path(), kDictId);
    std::vector<std::string> texts;
    for (uint32_t i = 0; i < 40; ++i)
      texts.push_back("entry " + std::to_string(i) + std::string(i * 700, char('a' + i % 26)) +
                      "\r\n~!");
    compile::HuffmanStatistics statistics;
    for (const auto& t : texts)
      statistics.add(reinterpret_cast<const uint8_t*>(t.data()), uint32_t(t.size()));
    compile::HuffmanEncoder huffman(statistics);
    compile::DataFileOptions options;
    options.dictId = kDictId;
    options.maxPieceSize = 2000;
    options.continuationLimit = 0x10007 + 0x10000;
    compile::DataFileWriter writer;
    ASSERT_TRUE(writer.create(dir_.file("00010203.DAT"), &huffman, options));
    offsets_.resize(texts.size());
    for (size_t i = 0; i < texts.size(); ++i)
      ASSERT_TRUE(writer.addEntry(reinterpret_cast<const uint8_t*>(texts[i].data()),
                                  uint32_t(texts[i].size()), compile::EntryEncoding(i % 7),
                                  &offsets_[i]));
    further_ = writer.furtherFileNames();
    ASSERT_FALSE(further_.empty());
    ASSERT_TRUE(writer.finish() && writer.commit());
  }

  Read perCall(uint32_t offset) {
    FileHandle file = openFileRead(dir_.file("00010203.DAT").c_str());
    Read read = readEntry(
        [&](uint32_t* size) { return contentSizeAt(file, offset, &resolveInFolder, size); },
        [&](char* out, uint32_t capacity, uint32_t* length) {
          return contentTextAt(file, offset, out, capacity, &resolveInFolder, length);
        });
    closeFile(file);
    return read;
  }

  Read walked(DataFileSet& set, uint32_t offset) {
    FileHandle file = set.open(dir_.file("00010203.DAT").c_str());
    return readEntry([&](uint32_t* size) { return contentSizeAt(set, file, offset, size); },
                     [&](char* out, uint32_t capacity, uint32_t* length) {
                       return contentTextAt(set, file, offset, out, capacity, length);
                     });
  }

  // Walks every entry, expecting what the per-call reads give; the count that fails.
  size_t expectWalkAsPerCall(DataFileSet& set) {
    size_t failed = 0;
    for (size_t i = 0; i < offsets_.size(); ++i) {
      SCOPED_TRACE(i);
      const Read want = perCall(offsets_[i]), got = walked(set, offsets_[i]);
      EXPECT_EQ(got.status.cause(), want.status.cause());
      EXPECT_EQ(got.status.offset(), want.status.offset());
      EXPECT_EQ(got.text, want.text);
      failed += !want.status.ok();
    }
    return failed;
  }

  orvia::testing::TempDir dir_;
  std::vector<uint32_t> offsets_;
  std::vector<std::string> further_;
};

TEST_F(DataFileSetTest, WalkReadsWhatThePerCallReadsGive) {
  DataFileSet set(&resolveInFolder);
  EXPECT_EQ(expectWalkAsPerCall(set), 0u);
  EXPECT_EQ(expectWalkAsPerCall(set), 0u) << "a second walk over files already open";
}

TEST_F(DataFileSetTest, FurtherFileThatVanishesMidWalkFailsTheReadsThatReachIt) {
  DataFileSet set(&resolveInFolder);
  ASSERT_TRUE(walked(set, offsets_[0]).status.ok()) << "the first entry lies in the main file";
  for (const auto& name : further_) std::filesystem::remove(dir_.file(name));
  EXPECT_GT(expectWalkAsPerCall(set), 0u);
}

}  // namespace
}  // namespace orvia::content
