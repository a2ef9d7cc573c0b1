#include "compile/source/dictd_source.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <optional>
#include <string>
#include <vector>

#include "compile/source/dictd_index_line.h"
#include "support/temp_dir.h"

namespace orvia::compile {
namespace {

using testing::TempDir;
using testing::writeFileBytes;

TEST(DictdNumber, DecodesBase64DigitsMostSignificantFirst) {
  struct Row {
    const char* digits;
    std::optional<uint32_t> value;
  };
  const Row rows[] = {
      {"A", 0u},
      {"M", 12u},
      {"a", 26u},
      {"0", 52u},
      {"+", 62u},
      {"/", 63u},
      {"BA", 64u},
      {"Fz", 5 * 64 + 51u},        // an offset from a real index
      {"D/////", 0xFFFFFFFFu},     // the largest that fits
      {"EAAAAA", std::nullopt},    // 2^32
      {"////////", std::nullopt},  // far beyond
      {"", std::nullopt},
      {"A=", std::nullopt},
      {"A B", std::nullopt},
  };
  for (const Row& row : rows) EXPECT_EQ(decodeDictdNumber(row.digits), row.value) << row.digits;
}

TEST(DictdIndexLine, SplitsHeadwordOffsetAndLength) {
  struct Row {
    const char* line;
    bool ok;
    const char* headword;
    uint32_t offset, length;
  };
  const Row rows[] = {
      {"apple\tA\tM", true, "apple", 0, 12},
      {"big apple\tBA\tF", true, "big apple", 64, 5},
      {"word\tB\tC\toriginal", true, "word", 1, 2},  // a fourth column is passed over
      {"\tA\tB", true, "", 0, 1},
      {"apple\tA", false, "", 0, 0},
      {"apple", false, "", 0, 0},
      {"apple\tA\t", false, "", 0, 0},
      {"apple\t!\tB", false, "", 0, 0},
  };
  for (const Row& row : rows) {
    std::optional<DictdIndexLine> parsed = parseDictdIndexLine(row.line);
    ASSERT_EQ(parsed.has_value(), row.ok) << row.line;
    if (!row.ok) continue;
    EXPECT_EQ(parsed->headword, row.headword);
    EXPECT_EQ(parsed->offset, row.offset);
    EXPECT_EQ(parsed->length, row.length);
  }
}

TEST(DictdIndexLine, KnowsTheDatabaseEntries) {
  EXPECT_TRUE(isDictdDatabaseEntry("00-database-info"));
  EXPECT_TRUE(isDictdDatabaseEntry("00-database-short"));
  EXPECT_TRUE(isDictdDatabaseEntry("00databaseurl"));
  EXPECT_FALSE(isDictdDatabaseEntry("00-gcide-long"));
  EXPECT_FALSE(isDictdDatabaseEntry("00"));
  EXPECT_FALSE(isDictdDatabaseEntry("database"));
}

// The body: "A red fruit." at 0 (12 bytes, "A" "M"), "A river side." at 13 (13 bytes, "N"
// "N"), padding, then "Money" at 70 = 1 * 64 + 6 ("BG", length "F").
const std::string kBody = "A red fruit.\nA river side.\n" + std::string(70 - 27, '.') + "Money";
const std::string kIndex =
    "00-database-info\tA\tB\n"
    "apple\tA\tM\n"
    "bank\tN\tN\n"
    "\n"
    "bank\tBG\tF\n"
    "broken\tA\n"
    "beyond\tBG\tZ\n";

struct Read {
  ReadResult result;
  std::string headword, text;
};

std::vector<Read> readAll(DictdSource& source) {
  std::vector<Read> out;
  SourceEntry entry;
  for (int guard = 0; guard < 100; ++guard) {
    ReadResult result = source.next(&entry);
    if (result == ReadResult::kEnd) return out;
    out.push_back(
        {result, result == ReadResult::kEntry ? entry.headword : source.problem(), entry.text});
    if (result == ReadResult::kFailed) return out;
  }
  ADD_FAILURE() << "the source never ended";
  return out;
}

void writeGzip(const std::string& path, const std::string& bytes) {
  gzFile file = gzopen(path.c_str(), "wb");
  ASSERT_NE(file, nullptr);
  ASSERT_EQ(gzwrite(file, bytes.data(), unsigned(bytes.size())), int(bytes.size()));
  gzclose(file);
}

TEST(DictdSource, ReadsEntriesAndTheirTextsFromAGzipBodyOrAPlainOne) {
  for (bool gzip : {true, false}) {
    TempDir dir;
    writeFileBytes(dir.file("test.index"), kIndex);
    if (gzip)
      writeGzip(dir.file("test.dict.dz"), kBody);
    else
      writeFileBytes(dir.file("test.dict"), kBody);
    DictdSource source;
    ASSERT_TRUE(source.open(dir.file("test"), WithText::kYes)) << source.problem();
    std::vector<Read> got = readAll(source);
    ASSERT_EQ(got.size(), 5u) << gzip;
    EXPECT_EQ(got[0].headword, "apple");
    EXPECT_EQ(got[0].text, "A red fruit.");
    EXPECT_EQ(got[1].text, "A river side.");
    EXPECT_EQ(got[2].text, "Money");  // read after a jump back and forth
    EXPECT_EQ(got[3].result, ReadResult::kBadRecord);
    EXPECT_EQ(got[3].headword, "line 6 of the index: not headword, offset and length");
    EXPECT_EQ(got[4].result, ReadResult::kBadRecord);  // text past the end of the body
    EXPECT_EQ(source.bytesRead(), source.totalBytes());
  }
}

TEST(DictdSource, InBodyOrderGivesBadLinesFirstThenTextsByOffsetWithTheirLineNumbers) {
  TempDir dir;
  writeFileBytes(dir.file("test.index"),
                 "pear\tBG\tF\n"
                 "apple\tA\tM\n"
                 "broken\n"
                 "bank\tN\tN\n"
                 "beyond\tBG\tZ\n");
  writeGzip(dir.file("test.dict.dz"), kBody);
  DictdSource source;
  ASSERT_TRUE(source.open(dir.file("test"), WithText::kYes, DictdSource::Order::kBody))
      << source.problem();
  struct Expected {
    ReadResult result;
    const char* headwordOrProblem;
    const char* text;
    uint64_t ordinal;
  };
  const Expected expected[] = {
      {ReadResult::kBadRecord, "line 3 of the index: not headword, offset and length", "", 0},
      {ReadResult::kEntry, "apple", "A red fruit.", 2},
      {ReadResult::kEntry, "bank", "A river side.", 4},
      {ReadResult::kEntry, "pear", "Money", 1},
      {ReadResult::kBadRecord, "line 5 of the index: its text lies beyond the end of the body", "",
       0},
  };
  SourceEntry entry;
  for (const Expected& e : expected) {
    ASSERT_EQ(source.next(&entry), e.result) << e.headwordOrProblem;
    if (e.result == ReadResult::kEntry) {
      EXPECT_EQ(entry.headword, e.headwordOrProblem);
      EXPECT_EQ(entry.text, e.text);
      EXPECT_EQ(entry.ordinal, e.ordinal);
    } else {
      EXPECT_EQ(source.problem(), e.headwordOrProblem);
    }
  }
  EXPECT_EQ(source.next(&entry), ReadResult::kEnd);
  EXPECT_EQ(source.bytesRead(), source.totalBytes());
}

TEST(DictdSource, WithoutTextsLeavesTheBodyUnread) {
  TempDir dir;
  writeFileBytes(dir.file("test.index"), kIndex);
  writeFileBytes(dir.file("test.dict.dz"), "not gzip at all");
  DictdSource source;
  ASSERT_TRUE(source.open(dir.file("test"), WithText::kNo));
  std::vector<Read> got = readAll(source);
  ASSERT_EQ(got.size(), 5u);
  EXPECT_EQ(got[4].result, ReadResult::kEntry);  // its length is not checked without text
  EXPECT_EQ(got[2].headword, "bank");
  EXPECT_TRUE(got[2].text.empty());
}

TEST(DictdSource, RefusesAMissingIndexOrBody) {
  TempDir dir;
  DictdSource noIndex;
  EXPECT_FALSE(noIndex.open(dir.file("test"), WithText::kNo));
  writeFileBytes(dir.file("test.index"), kIndex);
  DictdSource noBody;
  EXPECT_FALSE(noBody.open(dir.file("test"), WithText::kNo));
  EXPECT_NE(noBody.problem().find("test.dict"), std::string::npos);
}

}  // namespace
}  // namespace orvia::compile
