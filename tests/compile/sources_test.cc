// The importers' parts that the compiled sources (compiled_source_test.cc) cannot show:
// malformed numbers and index lines, sources read without texts, sources that cannot be
// opened, and dictd bodies read by range.
#include <gtest/gtest.h>
#include <zlib.h>

#include <optional>
#include <string>

#include "compile/source/dict_body.h"
#include "compile/source/dictd_index_line.h"
#include "compile/source/dictd_source.h"
#include "compile/source/tsv_source.h"
#include "support/golden.h"
#include "support/temp_dir.h"

namespace orvia::compile {
namespace {

using orvia::testing::dataPath;
using orvia::testing::goldenBytes;
using orvia::testing::readFileBytes;
using orvia::testing::TempDir;
using orvia::testing::writeFileBytes;

TEST(DictdIndexLine, DecodesBase64NumbersAndSplitsColumns) {
  const std::pair<const char*, std::optional<uint32_t>> numbers[] = {
      {"+", 62u},       {"/", 63u}, {"D/////", ~0u}, {"EAAAAA", {}},  // 2^32
      {"////////", {}}, {"", {}},   {"A=", {}},      {"A B", {}},
  };
  for (const auto& [digits, value] : numbers) EXPECT_EQ(decodeDictdNumber(digits), value) << digits;
  for (const char* line : {"apple\tA", "apple", "apple\tA\t", "apple\t!\tB"})
    EXPECT_FALSE(parseDictdIndexLine(line).has_value()) << line;
  EXPECT_EQ(parseDictdIndexLine("\tA\tB").value_or(DictdIndexLine{"none", 0, 0}).length, 1u);
  for (const char* word : {"00-database-info", "00-database-short", "00databaseurl"})
    EXPECT_TRUE(isDictdDatabaseEntry(word)) << word;
  for (const char* word : {"00-gcide-long", "00", "database"})
    EXPECT_FALSE(isDictdDatabaseEntry(word)) << word;
}

// Without texts a dictd body is never opened, so an entry whose text lies beyond it is
// an entry still; TSV texts are left out.
TEST(EntrySources, WithoutTextsGiveEveryEntryAndNoText) {
  TempDir dir;
  writeFileBytes(dir.file("texts.index"), readFileBytes(dataPath("compile/texts.index")));
  writeFileBytes(dir.file("texts.dict.dz"), "not gzip at all");
  DictdSource dictd;
  ASSERT_TRUE(dictd.open(dir.file("texts"), WithText::kNo)) << dictd.problem();
  TsvSource tsv;
  ASSERT_TRUE(tsv.open(dataPath("compile/columns.tsv"), WithText::kNo)) << tsv.problem();
  for (auto [source, entries, bad] : {std::tuple<EntrySource*, int, int>{&dictd, 16, 1},
                                      std::tuple<EntrySource*, int, int>{&tsv, 19, 6}}) {
    SourceEntry entry;
    for (ReadResult r; (r = source->next(&entry)) != ReadResult::kEnd;) {
      ASSERT_NE(r, ReadResult::kFailed) << source->problem();
      --(r == ReadResult::kEntry ? entries : bad);
      EXPECT_EQ(entry.text, "") << entry.headword;
    }
    EXPECT_EQ(entries, 0);
    EXPECT_EQ(bad, 0);
    EXPECT_EQ(source->bytesRead(), source->totalBytes());
  }
}

TEST(EntrySources, RefuseWhatTheyCannotOpen) {
  TempDir dir;
  DictdSource noIndex;
  EXPECT_FALSE(noIndex.open(dir.file("test"), WithText::kNo));
  writeFileBytes(dir.file("test.index"), "apple\tA\tB\n");
  DictdSource noBody;
  EXPECT_FALSE(noBody.open(dir.file("test"), WithText::kNo));
  EXPECT_NE(noBody.problem().find("test.dict"), std::string::npos);
  const std::pair<const char*, const char*> headers[] = {
      {"headword\tmeaning\n", "unknown column \"meaning\" in the header"},
      {"headword\ttext\ttext\n", "column \"text\" named twice in the header"},
  };
  for (const auto& [header, problem] : headers) {
    writeFileBytes(dir.file("words.tsv"), header);
    TsvSource tsv;
    EXPECT_FALSE(tsv.open(dir.file("words.tsv"), WithText::kYes));
    EXPECT_EQ(tsv.problem(), problem);
  }
}

// compile/chunked.dict.dz.hex holds compile/texts.dict in 38 chunks of 4 bytes.
TEST(DictBody, ReadsAnyRangeOfAChunkedBody) {
  const std::string body = readFileBytes(dataPath("compile/texts.dict"));
  const std::string chunked = goldenBytes("compile/chunked.dict.dz.hex");
  std::string named = chunked;  // FNAME and FCOMMENT behind the 98-byte header
  named[3] = 0x1C;
  named.insert(98, std::string("body.dict\0a comment\0", 20));
  for (const std::string& file : {chunked, named}) {
    TempDir dir;
    writeFileBytes(dir.file("b.dict.dz"), file);
    DictBody reader;
    ASSERT_TRUE(reader.open(dir.file("b.dict.dz")));
    EXPECT_TRUE(reader.hasChunks());
    const std::tuple<uint32_t, uint32_t, bool> rows[] = {
        {0, 151, true},  {3, 2, true},  {4, 4, true},    {146, 5, true},
        {150, 1, true},  {40, 0, true}, {147, 5, false}, {151, 1, false},
        {200, 1, false}, {0, 16, true},  // after a jump back
    };
    for (const auto& [offset, length, ok] : rows) {
      std::string out;
      EXPECT_EQ(reader.read(offset, length, &out), ok) << offset;
      if (ok) {
        EXPECT_EQ(out, body.substr(offset, length)) << offset;
      }
    }
    // More chunks are visited than the reader keeps.
    for (uint32_t step = 0, offset = 0; step < 300; ++step, offset = (offset + 79) % 140) {
      std::string out;
      ASSERT_TRUE(reader.read(offset, 11, &out)) << offset;
      ASSERT_EQ(out, body.substr(offset, 11)) << offset;
    }
  }
}

// Offsets of u16 fields in compile/chunked.dict.dz.hex: the subfield's LEN, VER, CHCNT and
// the last chunk's size.
TEST(DictBody, RefusesAMalformedChunkTable) {
  const std::tuple<const char*, size_t, uint16_t> rows[] = {
      {"LEN overruns the extra field", 14, 84},
      {"version 2", 16, 2},
      {"LEN disagrees with CHCNT", 20, 37},
      {"chunks beyond the file", 96, 1000},
  };
  for (const auto& [what, offset, value] : rows) {
    std::string file = goldenBytes("compile/chunked.dict.dz.hex");
    file[offset] = char(value & 0xFF);
    file[offset + 1] = char(value >> 8);
    TempDir dir;
    writeFileBytes(dir.file("b.dict.dz"), file);
    DictBody reader;
    EXPECT_FALSE(reader.open(dir.file("b.dict.dz"))) << what;
  }
}

TEST(DictBody, ReadsPlainAndOrdinaryGzipBodiesToo) {
  const std::string body = readFileBytes(dataPath("compile/texts.dict"));
  TempDir dir;
  gzFile gz = gzopen(dir.file("ordinary.dict.dz").c_str(), "wb");
  ASSERT_NE(gz, nullptr);
  gzwrite(gz, body.data(), unsigned(body.size()));
  gzclose(gz);
  for (const std::string& path : {dataPath("compile/texts.dict"), dir.file("ordinary.dict.dz")}) {
    DictBody reader;
    ASSERT_TRUE(reader.open(path)) << path;
    EXPECT_FALSE(reader.hasChunks());
    std::string out;
    for (uint32_t offset : {140u, 5u}) {
      ASSERT_TRUE(reader.read(offset, 10, &out)) << path;
      EXPECT_EQ(out, body.substr(offset, 10));
    }
    EXPECT_FALSE(reader.read(145, 10, &out)) << path;
  }
}

}  // namespace
}  // namespace orvia::compile
