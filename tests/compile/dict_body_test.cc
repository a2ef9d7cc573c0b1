#include "compile/source/dict_body.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <string>
#include <vector>

#include "support/temp_dir.h"

namespace orvia::compile {
namespace {

using orvia::testing::TempDir;
using orvia::testing::writeFileBytes;

void putU16(std::string& out, uint32_t v) {
  out += char(v & 0xFF);
  out += char((v >> 8) & 0xFF);
}

void putU32(std::string& out, uint32_t v) {
  putU16(out, v & 0xFFFF);
  putU16(out, v >> 16);
}

struct DictzipShape {
  uint32_t chunkSize = 16;
  bool nameAndComment = false;
  int version = 1;
  int lengthSlack = 0;         // added to the RA subfield's LEN
  uint32_t lastSizeSlack = 0;  // added to the last chunk's listed size
};

// A body as dictzip writes it: raw deflate flushed at every chunk, the chunks' sizes in
// the "RA" subfield of the gzip header, then the CRC-32 and size of the whole.
std::string dictzip(const std::string& body, const DictzipShape& shape) {
  z_stream stream{};
  EXPECT_EQ(deflateInit2(&stream, 9, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY), Z_OK);
  std::string chunks;
  std::vector<uint32_t> sizes;
  for (size_t at = 0; at < body.size(); at += shape.chunkSize) {
    std::string in = body.substr(at, shape.chunkSize);
    std::string out(in.size() * 2 + 64, '\0');
    stream.next_in = reinterpret_cast<Bytef*>(in.data());
    stream.avail_in = uInt(in.size());
    stream.next_out = reinterpret_cast<Bytef*>(out.data());
    stream.avail_out = uInt(out.size());
    bool last = at + shape.chunkSize >= body.size();
    EXPECT_NE(deflate(&stream, last ? Z_FINISH : Z_FULL_FLUSH), Z_STREAM_ERROR);
    out.resize(out.size() - stream.avail_out);
    sizes.push_back(uint32_t(out.size()));
    chunks += out;
  }
  deflateEnd(&stream);
  sizes.back() += shape.lastSizeSlack;

  std::string extra = "RA";
  putU16(extra, uint32_t(6 + 2 * sizes.size() + shape.lengthSlack));
  putU16(extra, uint32_t(shape.version));
  putU16(extra, shape.chunkSize);
  putU16(extra, uint32_t(sizes.size()));
  for (uint32_t size : sizes) putU16(extra, size);

  std::string file = {char(0x1F), char(0x8B), 8, char(shape.nameAndComment ? 0x1C : 0x04)};
  file += std::string(4, '\0') + char(2) + char(3);  // time, best compression, Unix
  putU16(file, uint32_t(extra.size()));
  file += extra;
  if (shape.nameAndComment) file += std::string("body.dict\0a comment\0", 20);
  file += chunks;
  putU32(file, uint32_t(crc32(0, reinterpret_cast<const Bytef*>(body.data()), uInt(body.size()))));
  putU32(file, uint32_t(body.size()));
  return file;
}

std::string bodyText() {
  std::string body;
  for (int i = 0; i < 100; ++i) body += char('A' + (i * 7) % 26);
  return body;
}

TEST(DictBody, ReadsAnyRangeAcrossChunks) {
  const std::string body = bodyText();
  for (bool nameAndComment : {false, true}) {
    TempDir dir;
    DictzipShape shape;
    shape.nameAndComment = nameAndComment;
    writeFileBytes(dir.file("b.dict.dz"), dictzip(body, shape));
    DictBody reader;
    ASSERT_TRUE(reader.open(dir.file("b.dict.dz")));
    EXPECT_TRUE(reader.hasChunks());
    struct Row {
      uint32_t offset, length;
      bool ok;
    };
    const Row rows[] = {
        {0, 100, true},  {15, 2, true},   {16, 16, true}, {95, 5, true},
        {99, 1, true},   {40, 0, true},   {3, 50, true},  {96, 5, false},
        {100, 1, false}, {200, 1, false}, {0, 16, true},  // after a jump back
    };
    for (const Row& row : rows) {
      std::string out;
      EXPECT_EQ(reader.read(row.offset, row.length, &out), row.ok) << row.offset;
      if (row.ok) {
        EXPECT_EQ(out, body.substr(row.offset, row.length)) << row.offset;
      }
    }
  }
}

TEST(DictBody, ReadsRightWhenMoreChunksAreVisitedThanItKeeps) {
  std::string body;
  for (int i = 0; i < 16 * 100; ++i) body += char('a' + (i / 16 + i) % 26);
  TempDir dir;
  writeFileBytes(dir.file("b.dict.dz"), dictzip(body, DictzipShape{}));
  DictBody reader;
  ASSERT_TRUE(reader.open(dir.file("b.dict.dz")));
  for (uint32_t step = 0; step < 500; ++step) {
    const uint32_t offset = (step * 7919) % 1580;
    std::string out;
    ASSERT_TRUE(reader.read(offset, 20, &out)) << offset;
    ASSERT_EQ(out, body.substr(offset, 20)) << offset;
  }
}

TEST(DictBody, RefusesAMalformedChunkTable) {
  struct Row {
    const char* name;
    DictzipShape shape;
  };
  DictzipShape badVersion, badLength, beyondFile;
  badVersion.version = 2;
  badLength.lengthSlack = 2;
  beyondFile.lastSizeSlack = 1000;
  const Row rows[] = {{"version 2", badVersion},
                      {"LEN disagrees with CHCNT", badLength},
                      {"chunks beyond the file", beyondFile}};
  for (const Row& row : rows) {
    TempDir dir;
    writeFileBytes(dir.file("b.dict.dz"), dictzip(bodyText(), row.shape));
    DictBody reader;
    EXPECT_FALSE(reader.open(dir.file("b.dict.dz"))) << row.name;
  }
}

TEST(DictBody, ReadsPlainAndOrdinaryGzipBodiesToo) {
  const std::string body = bodyText();
  TempDir dir;
  writeFileBytes(dir.file("plain.dict"), body);
  gzFile gz = gzopen(dir.file("ordinary.dict.dz").c_str(), "wb");
  ASSERT_NE(gz, nullptr);
  gzwrite(gz, body.data(), unsigned(body.size()));
  gzclose(gz);
  for (const char* name : {"plain.dict", "ordinary.dict.dz"}) {
    DictBody reader;
    ASSERT_TRUE(reader.open(dir.file(name))) << name;
    EXPECT_FALSE(reader.hasChunks());
    std::string out;
    ASSERT_TRUE(reader.read(90, 10, &out)) << name;
    EXPECT_EQ(out, body.substr(90, 10));
    ASSERT_TRUE(reader.read(5, 10, &out)) << name;
    EXPECT_EQ(out, body.substr(5, 10));
    EXPECT_FALSE(reader.read(95, 10, &out)) << name;
  }
}

}  // namespace
}  // namespace orvia::compile
