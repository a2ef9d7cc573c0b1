// Further data files: every name used once, a clear refusal past the last one, and
// recompiles that each install one set of files.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "support/compiled_dictionary.h"
#include "support/temp_dir.h"

namespace orvia::compile {
namespace {

constexpr uint32_t kEnglish = 0x00010101;

TEST(FurtherFiles, EachCompileInstallsOneSetOfUniquelyNamedFiles) {
  orvia::testing::TempDir dir;
  // Pieces of 8 bytes, and no continuation past a file's first record: each piece after
  // an entry's first goes into a further file of its own. "long" CR LF and CR LF "~!"
  // around a text of 8n - 2 bytes make n + 1 pieces. No further file: one small record.
  const auto textOf = [](uint32_t further) {
    return std::string(further == 0 ? 1 : 8 * further - 2, 'x');
  };
  const auto compile = [&](uint32_t further, std::string* problem) {
    const std::vector<SourceEntry> entries = {orvia::testing::entryOf("long", textOf(further))};
    DictionaryCompileOptions options{kEnglish, dir.path(), EntryEncoding::kStored, {}};
    if (further != 0) options.dataFile = DataFileOptions{kEnglish, 8, 0x10008};
    CompiledDictionary result;
    const bool ok =
        compileDictionary(orvia::testing::openerOf(&entries), options, nullptr, &result, problem);
    return ok ? result.furtherDataFiles : std::vector<std::string>{"<failed>"};
  };
  const auto installed = [&](bool furtherOnly) {
    std::set<std::string> files;
    for (const auto& file : std::filesystem::directory_iterator(dir.path())) {
      const std::string name = file.path().filename().string();
      if (furtherOnly && name[0] == 'X') files.insert(name);
      if (!furtherOnly) files.insert(name + orvia::testing::readFileBytes(file.path().string()));
    }
    return files;
  };
  std::string problem;
  const std::vector<std::string> all = compile(36, &problem);
  ASSERT_EQ(std::set<std::string>(all.begin(), all.end()).size(), 36u) << problem;
  EXPECT_EQ(all.back(), "X010101X.DAT");
  const std::set<std::string> before = installed(false);
  EXPECT_EQ(compile(37, &problem), std::vector<std::string>{"<failed>"});
  EXPECT_NE(problem.find("more than 36 further data files"), std::string::npos) << problem;
  EXPECT_EQ(installed(false), before);
  for (uint32_t further : {36u, 2u, 0u}) {
    SCOPED_TRACE(further);
    const std::vector<std::string> written = compile(further, &problem);
    EXPECT_EQ(written.size(), further);
    EXPECT_EQ(installed(true), std::set<std::string>(written.begin(), written.end()));
    const auto read = orvia::testing::readRecordContents(dir.path(), kEnglish);
    ASSERT_EQ(read.size(), 1u);
    EXPECT_EQ(read[0].text, "long\r\n" + textOf(further) + "\r\n~!");
  }
}

}  // namespace
}  // namespace orvia::compile
