// The importers' parts that the compiled sources (compiler_test.cc) cannot show:
// malformed numbers and index lines, sources that cannot be opened (TSV headers:
// compile/tsv_header_refusals.txt), and dictd bodies read by range.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "compile/source/dict_body.h"
#include "compile/source/dictd_index_line.h"
#include "compile/source/dictd_source.h"
#include "compile/source/tsv_source.h"
#include "support/case_table.h"
#include "support/golden.h"
#include "support/temp_dir.h"

namespace orvia::compile {
namespace {

using namespace orvia::testing;

TEST(DictdIndexLine, DecodesBase64NumbersAndSplitsColumns) {
  forEachCase("compile/dictd_index_lines.txt", [&](const CaseRow& c) {
    const std::string text = *c.bytes(1);
    std::optional<uint32_t> got;
    if (c.fields[0] == "number") got = decodeDictdNumber(text);
    if (c.fields[0] == "database") got = isDictdDatabaseEntry(text);
    const std::optional<DictdIndexLine> line =
        c.fields[0] == "line" ? parseDictdIndexLine(text) : std::nullopt;
    if (line) got = line->length;
    EXPECT_EQ(
        got, c.fields[2] == "none" ? std::nullopt : std::optional<uint32_t>(uint32_t(c.number(2))));
  });
}

TEST(EntrySources, RefuseWhatTheyCannotOpen) {
  TempDir dir;
  DictdSource noIndex, noBody;
  EXPECT_FALSE(noIndex.open(dir.file("test")));
  writeFileBytes(dir.file("test.index"), "apple\tA\tB\n");
  EXPECT_FALSE(noBody.open(dir.file("test")));
  EXPECT_NE(noBody.problem().find("test.dict"), std::string::npos);
  forEachCase("compile/tsv_header_refusals.txt", [&](const CaseRow& c) {
    writeFileBytes(dir.file("words.tsv"), *c.bytes(0));
    TsvSource tsv;
    EXPECT_FALSE(tsv.open(dir.file("words.tsv")));
    EXPECT_EQ(tsv.problem(), *c.bytes(1));
  });
}

// Each form of compile/texts.dict (compile/dict_body_forms.txt) opens or is refused, and
// reads any range (compile/dict_body_ranges.txt) as the body holds it.
TEST(DictBody, ReadsAnyRangeOfEachFormAndRefusesAMalformedChunkTable) {
  const std::string body = readFileBytes(dataPath("compile/texts.dict"));
  forEachCase("compile/dict_body_forms.txt", [&](const CaseRow& form) {
    const bool plain = form.fields[1].rfind("plain", 0) == 0;
    std::string file = plain ? body : goldenBytes("compile/" + form.fields[1] + ".hex");
    if (form.fields[2] != "-") {
      const size_t at = std::stoul(form.fields[2]);
      const unsigned value = std::stoul(form.fields[2].substr(form.fields[2].find('=') + 1));
      file[at] = char(value & 0xFF);
      file[at + 1] = char(value >> 8);
    }
    TempDir dir;
    const std::string path = dir.file(form.fields[1] == "plain" ? "b.dict" : "b.dict.dz");
    writeFileBytes(path, file);
    DictBody reader;
    ASSERT_EQ(reader.open(path), form.number(3) != 0) << reader.problem();
    if (form.number(3) == 0) return;
    EXPECT_EQ(reader.hasChunks(), form.number(4) != 0);
    for (const CaseRow& range : caseTable("compile/dict_body_ranges.txt")) {
      const uint32_t offset = uint32_t(range.number(0)), length = uint32_t(range.number(1));
      std::string out;
      EXPECT_EQ(reader.read(offset, length, &out), range.number(2) != 0) << range.line;
      EXPECT_EQ(out, range.number(2) != 0 ? body.substr(offset, length) : out) << range.line;
    }
  });
}

}  // namespace
}  // namespace orvia::compile
