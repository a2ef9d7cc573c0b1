// The compiler end to end: each source under tests/data/compile/ compiled with its texts
// stored, and its index records, its data file and the entries it left out compared with
// files worked out by hand: NAME.idx.hex, NAME.dat.hex and NAME.skipped (one line per
// entry left out: the reason's name, a tab, the headword or where the bad line is).
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "compile/source/dictd_source.h"
#include "compile/source/tsv_source.h"
#include "support/compiled_dictionary.h"
#include "support/golden.h"
#include "support/temp_dir.h"

namespace orvia::compile {
namespace {

using orvia::testing::dataPath;
using orvia::testing::goldenBytes;
using orvia::testing::readFileBytes;

constexpr uint32_t kEnglish = 0x00010101;

enum class Kind { kTsv, kDictd, kDictzipInBodyOrder };

struct Case {
  const char* name;
  Kind kind;
  uint32_t homographRuns, homographEntries;
};
// chunked is texts with its body in NAME.dict.dz.hex, read in the order of the texts.
constexpr Case kCases[] = {
    {"fruit", Kind::kTsv, 0, 0},
    {"columns", Kind::kTsv, 3, 4},
    {"texts", Kind::kDictd, 1, 2},
    {"chunked", Kind::kDictzipInBodyOrder, 1, 2},
};

template <typename Source, typename... Options>
std::unique_ptr<EntrySource> opened(std::string* problem, Options... options) {
  auto source = std::make_unique<Source>();
  if (source->open(options...)) return source;
  *problem = source->problem();
  return nullptr;
}

SourceOpener openerFor(Kind kind, const std::string& path) {
  return [kind, path](WithText withText, std::string* problem) {
    if (kind == Kind::kTsv) return opened<TsvSource>(problem, path, withText);
    return opened<DictdSource>(
        problem, path, withText,
        kind == Kind::kDictd ? DictdSource::Order::kIndex : DictdSource::Order::kBody);
  };
}

TEST(CompiledSource, GivesTheHandWorkedRecordsDataFileAndSkips) {
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    const std::string name = std::string("compile/") + c.name;
    orvia::testing::TempDir dir;
    std::string path = dataPath(name) + (c.kind == Kind::kTsv ? ".tsv" : "");
    if (c.kind == Kind::kDictzipInBodyOrder) {
      path = dir.file(c.name);
      orvia::testing::writeFileBytes(path + ".index", readFileBytes(dataPath(name + ".index")));
      orvia::testing::writeFileBytes(path + ".dict.dz", goldenBytes(name + ".dict.dz.hex"));
    }
    const CompiledDictionary result = orvia::testing::compileFrom(
        openerFor(c.kind, path), kEnglish, dir.path(), EntryEncoding::kStored);

    std::string records;
    for (const auto& record : orvia::testing::readIndexRecords(dir.path(), kEnglish))
      records += record.bytes;
    EXPECT_EQ(records, goldenBytes(name + ".idx.hex"));
    EXPECT_EQ(readFileBytes(result.dataPath), goldenBytes(name + ".dat.hex"));
    std::string skipped;
    for (const SkippedEntry& s : result.index.skipped)
      skipped += std::string(skipReasonName(s.reason)) + "\t" + s.headword + "\n";
    EXPECT_EQ(skipped, readFileBytes(dataPath(name + ".skipped")));
    EXPECT_EQ(result.entries, result.index.recordCount + result.index.skipped.size());
    EXPECT_EQ(result.index.homographRuns, c.homographRuns);
    EXPECT_EQ(result.index.homographEntries, c.homographEntries);
  }
}

}  // namespace
}  // namespace orvia::compile
