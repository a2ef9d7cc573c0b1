// Further data files: every name used once, a clear refusal past the last one, and a
// recompile that installs one set of files.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "compile/content/data_file_writer.h"
#include "compile/content/further_files.h"
#include "support/compiled_dictionary.h"
#include "support/folder_resolver.h"
#include "support/temp_dir.h"

namespace orvia::compile {
namespace {

using orvia::testing::readFileBytes;
using orvia::testing::TempDir;

constexpr uint32_t kEnglish = 0x00010101;
constexpr uint32_t kFirstRecord = 0x10007;  // after the table and three empty tree sizes
constexpr char kTooMany[] = "the content needs more than 36 further data files";

// Pieces of 8 bytes, and no continuation in a file past its first record: each piece
// after an entry's first goes alone into a further file of its own.
const DataFileOptions kFilePerPiece{kEnglish, 8, kFirstRecord + 1};

const uint8_t* bytesOf(const std::string& text) {
  return reinterpret_cast<const uint8_t*>(text.data());
}

TEST(FurtherFiles, EveryNameOnceAndAllReadBackThenARefusal) {
  TempDir dir;
  DataFileWriter writer;
  ASSERT_TRUE(writer.create(dir.file("00010101.DAT"), nullptr, kFilePerPiece));
  const std::string text = std::string(36 * 8 + 4, 'a') + "\r\n~!";  // 37 pieces
  uint32_t offset = 0, unused = 0;
  ASSERT_TRUE(
      writer.addEntry(bytesOf(text), uint32_t(text.size()), EntryEncoding::kStored, &offset));
  const std::vector<std::string> names = writer.furtherFileNames();
  EXPECT_EQ(std::set<std::string>(names.begin(), names.end()).size(), kMaxFurtherFiles);
  EXPECT_EQ(names.front(), "X0101011.DAT");
  EXPECT_EQ(names.back(), "X010101X.DAT");
  const std::string two = "b\r\n~!bbbbbb\r\n~!";  // two pieces
  EXPECT_FALSE(
      writer.addEntry(bytesOf(two), uint32_t(two.size()), EntryEncoding::kStored, &unused));
  EXPECT_EQ(writer.problem(), kTooMany);
  ASSERT_TRUE(writer.finish());
  ASSERT_TRUE(writer.commit());

  orvia::testing::resolveIn(dir.path(), kEnglish);
  content::FileHandle file = content::openFileRead(dir.file("00010101.DAT").c_str());
  std::string read(text.size() + 1, '\0');
  uint32_t length = 0;
  EXPECT_TRUE(content::contentTextAt(file, offset, read.data(), uint32_t(read.size()),
                                     &orvia::testing::resolveInFolder, &length)
                  .ok());
  EXPECT_EQ(read.substr(0, length), text);
  content::closeFile(file);
}

TEST(FurtherFiles, ARecompileInstallsOneSetOfFiles) {
  TempDir dir;
  const auto exists = [&](const char* name) { return std::filesystem::exists(dir.file(name)); };
  const std::vector<std::string> files = {"00010101.IDX", "00010101.DAT", "X0101011.DAT",
                                          "X0101012.DAT"};
  const CompiledDictionary first =
      orvia::testing::compileList({orvia::testing::entryOf("long", "xxxxxxxxx")}, kEnglish,
                                  dir.path(), EntryEncoding::kStored, kFilePerPiece);
  ASSERT_EQ(first.furtherDataFiles, std::vector<std::string>(files.begin() + 2, files.end()));
  std::vector<std::string> installed;
  for (const std::string& name : files) installed.push_back(readFileBytes(dir.file(name)));

  // A compile that would need one further file too many changes nothing installed.
  const std::vector<SourceEntry> tooLong = {orvia::testing::entryOf("long", std::string(300, 'x'))};
  DictionaryCompileOptions options;
  options.dictId = kEnglish;
  options.folder = dir.path();
  options.encoding = EntryEncoding::kStored;
  options.dataFile = kFilePerPiece;
  CompiledDictionary refused;
  std::string problem;
  EXPECT_FALSE(
      compileDictionary(orvia::testing::openerOf(&tooLong), options, nullptr, &refused, &problem));
  EXPECT_NE(problem.find(kTooMany), std::string::npos) << problem;
  for (size_t i = 0; i < files.size(); ++i)
    EXPECT_EQ(readFileBytes(dir.file(files[i])), installed[i]) << files[i];
  EXPECT_FALSE(exists("X0101013.DAT"));
  EXPECT_FALSE(exists("00010101.IDX.part"));

  // Needing no further file, the recompile removes the two the first one wrote.
  const CompiledDictionary second = orvia::testing::compileList(
      {orvia::testing::entryOf("long", "short")}, kEnglish, dir.path(), EntryEncoding::kStored);
  EXPECT_TRUE(second.furtherDataFiles.empty());
  EXPECT_FALSE(exists("X0101011.DAT"));
  EXPECT_FALSE(exists("X0101012.DAT"));
  const std::vector<orvia::testing::RecordContent> read =
      orvia::testing::readRecordContents(dir.path(), kEnglish);
  ASSERT_EQ(read.size(), 1u);
  EXPECT_NE(read[0].text.find("short"), std::string::npos) << read[0].text;
}

}  // namespace
}  // namespace orvia::compile
