#include "compile/source/tsv_source.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/temp_dir.h"

namespace orvia::compile {
namespace {

using testing::TempDir;
using testing::writeFileBytes;

struct Read {
  ReadResult result;
  SourceEntry entry;
  std::string problem;
};

std::vector<Read> readTsv(const std::string& bytes, WithText withText = WithText::kYes) {
  TempDir dir;
  writeFileBytes(dir.file("words.tsv"), bytes);
  TsvSource source;
  std::vector<Read> out;
  if (!source.open(dir.file("words.tsv"), withText)) {
    out.push_back({ReadResult::kFailed, {}, source.problem()});
    return out;
  }
  for (int guard = 0; guard < 100; ++guard) {
    Read read;
    read.result = source.next(&read.entry);
    if (read.result == ReadResult::kEnd) return out;
    read.problem = source.problem();
    out.push_back(read);
  }
  ADD_FAILURE() << "the source never ended";
  return out;
}

TEST(TsvSource, WithoutHeaderReadsHeadwordAndText) {
  std::vector<Read> got = readTsv("apple\tA fruit.\r\n\nbank\n");
  ASSERT_EQ(got.size(), 2u);
  EXPECT_EQ(got[0].entry.headword, "apple");
  EXPECT_EQ(got[0].entry.text, "A fruit.");
  EXPECT_EQ(got[1].entry.headword, "bank");
  EXPECT_EQ(got[1].entry.text, "");
  EXPECT_EQ(got[1].entry.level, 0);
  EXPECT_FALSE(got[1].entry.vcode.has_value());
}

TEST(TsvSource, HeaderNamesColumnsInAnyOrder) {
  std::vector<Read> got = readTsv(
      "vcode\tlevel\theadword\tdisplay\ttext\n"
      "0x41\t3\tx-ray\tX-ray\tA picture.\\nWith two lines.\n"
      "200\t\tword\n");
  ASSERT_EQ(got.size(), 2u);
  EXPECT_EQ(got[0].entry.headword, "x-ray");
  EXPECT_EQ(got[0].entry.displayWord, "X-ray");
  EXPECT_EQ(got[0].entry.level, 3);
  EXPECT_EQ(got[0].entry.vcode, uint8_t(0x41));
  EXPECT_EQ(got[0].entry.text, "A picture.\nWith two lines.");
  EXPECT_EQ(got[1].entry.vcode, uint8_t(200));
  EXPECT_EQ(got[1].entry.level, 0);  // an empty cell keeps the default
}

TEST(TsvSource, TextIsLeftOutWhenNotAskedFor) {
  std::vector<Read> got = readTsv("apple\tA fruit.\n", WithText::kNo);
  ASSERT_EQ(got.size(), 1u);
  EXPECT_EQ(got[0].entry.text, "");
}

TEST(TsvSource, MalformedRowsAreReportedAndReadingGoesOn) {
  struct Row {
    const char* line;
    const char* problem;
  };
  const Row rows[] = {
      {"a\tb\t1\t2\textra", "line 2: 5 fields, 4 columns"},
      {"a\tb\t256\t", "line 2: level is not a number up to 255"},
      {"a\tb\t0x10\t", "line 2: level is not a number up to 255"},
      {"a\tb\t-1\t", "line 2: level is not a number up to 255"},
      {"a\tb\t1\t0x100", "line 2: vcode is not a byte value"},
      {"a\tb\t1\tB8", "line 2: vcode is not a byte value"},
  };
  for (const Row& row : rows) {
    std::vector<Read> got =
        readTsv(std::string("headword\ttext\tlevel\tvcode\n") + row.line + "\nnext\n");
    ASSERT_EQ(got.size(), 2u) << row.line;
    EXPECT_EQ(got[0].result, ReadResult::kBadRecord) << row.line;
    EXPECT_EQ(got[0].problem, row.problem);
    EXPECT_EQ(got[1].entry.headword, "next");
  }
}

TEST(TsvSource, RefusesABadHeader) {
  EXPECT_EQ(readTsv("headword\tmeaning\n")[0].problem, "unknown column \"meaning\" in the header");
  EXPECT_EQ(readTsv("headword\ttext\ttext\n")[0].problem,
            "column \"text\" named twice in the header");
}

TEST(TsvText, UnescapesOnlyTheThreeEscapes) {
  EXPECT_EQ(unescapeTsvText("a\\nb\\tc\\\\d"), "a\nb\tc\\d");
  EXPECT_EQ(unescapeTsvText("\\x\\"), "\\x\\");
  EXPECT_EQ(unescapeTsvText("\\\\n"), "\\n");
}

}  // namespace
}  // namespace orvia::compile
