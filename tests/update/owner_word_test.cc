// The owner-word exchange through the exports over the real record store: hand-assembled
// files counted and imported, exports compared byte for byte, a round trip between two
// installs, and every cut of a file.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "content/user_entry_file.h"
#include "edit/user_edit_fixture.h"
#include "support/case_table.h"
#include "support/content_files.h"
#include "support/golden.h"

namespace orvia::testing {
namespace {

const uint32_t kMemId = dict::memDictId(kDictId);
const uint32_t kRecordId = dict::recordDictId(kDictId);

class Exchange : public UserEditFixture {
 protected:
  // A fresh install of kDictId (with the own words unless given) in a folder of its own,
  // and a registry store of its own whose PATH names that folder. Handles on an earlier
  // install must not be used after this.
  HDICT* install(const std::string& name, const std::vector<std::string>& words = {
                                              std::begin(kOwnWords), std::end(kOwnWords)}) {
    folder_ = dir_.file(name);
    std::filesystem::create_directory(folder_);
    leaveTestRegistry();
    enterTestRegistry(folder_);
    writeDictKey("\"PATH\"=\"" + folder_ + "\"\r\n");
    return makeDictionary(kDictId, words);
  }

  // "key=text;" for every entry of a companion, in key order.
  std::string companionTexts(uint32_t id) const {
    content::FileHandle file = content::openFileRead(fileOf(id, ".DAT").c_str());
    std::string out;
    for (const std::string& record : entries(id)) {
      std::string text(content::userEntryContentLength(file, refOf(record)) + 1, '\0');
      text.resize(
          content::readUserEntryContent(file, refOf(record), text.data(), uint32_t(text.size())));
      out += keyOf(record) + "=" + text + ";";
    }
    content::closeFile(file);
    return out;
  }

  std::string path_ = dir_.file("words.fwos");
};

TEST_F(Exchange, FilesAreCountedAndImportedTwiceAsTheirRowsSay) {
  int n = 0;
  forEachCase("update/exchange_files.txt", [&](const CaseRow& row) {
    install("row" + std::to_string(n++));
    const bool golden = row.fields[1].find(".golden") != std::string::npos;
    ASSERT_TRUE(writeFileBytes(
        path_, golden ? goldenBytes("update/exchange/" + row.fields[1]) : *row.bytes(1)));
    const uint32_t id = uint32_t(row.number(2));
    EXPECT_EQ(dicGetImportOwnerWordCount(id, path_.c_str()), row.number(3));
    for (int pass = 0; pass < 2; ++pass) {
      EXPECT_EQ(dicImportOwnerWord(id, path_.c_str(), nullptr), row.number(4)) << pass;
      EXPECT_EQ(companionTexts(kRecordId), *row.bytes(5));
      EXPECT_EQ(companionTexts(kMemId), *row.bytes(6));
      EXPECT_EQ(entries(kDictId).size(), std::size(kOwnWords) + entries(kRecordId).size());
    }
    EXPECT_EQ(consistency(), "");
  });
}

// Exports against the hand-assembled bytes, and exports and imports that fail for a
// missing folder or companion file.
TEST_F(Exchange, ExportsAndImportsAsTheScriptSays) {
  for (const CaseRow& c : caseTable("update/exchange_script.txt")) expectRow(c);
}

// Texts of one byte, of exactly one and just over one content block, and of many, half
// of them with the marker line.
std::string itemText(uint32_t i) {
  const size_t lengths[] = {1, 252, 253, 5000};
  std::string text(lengths[i % 4], char('a' + i % 26));
  if (text.size() > 30 && i % 2 == 0) text.replace(1, 18, "\r\n~J[User-defined]");
  return text;
}

TEST_F(Exchange, ARoundTripBetweenTwoInstallsBringsEveryItemBackOnce) {
  std::vector<std::string> own;
  for (uint32_t i = 0; i < 300; ++i) own.push_back("w" + std::to_string(1000 + i));
  HDICT* a = install("a", own);
  for (uint32_t i = 0; i < 300; ++i) {
    ASSERT_EQ(dicAddRecord(a, ("r" + own[i].substr(1)).c_str(), 0, itemText(i).c_str(), 0), 1);
    ASSERT_EQ(dicAddMem(word(own[i], a), itemText(i + 1).c_str(), 0), 1);
  }
  ASSERT_EQ(dicExportOwnerWord(kDictId, path_.data()), 1);
  const std::string exported = readFileBytes(path_);
  EXPECT_EQ(exported.substr(20, 8), le32(300) + le32(300)) << "R and M";
  install("b", own);
  const std::string again = dir_.file("again.fwos");
  for (int pass = 0; pass < 2; ++pass) {  // the second import adds nothing
    ASSERT_EQ(dicImportOwnerWord(kDictId, path_.c_str(), nullptr), 1);
    ASSERT_EQ(dicExportOwnerWord(kDictId, const_cast<char*>(again.c_str())), 1);
    EXPECT_TRUE(readFileBytes(again) == exported) << "every key, text and kind as it was";
    EXPECT_EQ(entries(kDictId).size(), 600u);
  }
  EXPECT_EQ(consistency(), "");
}

// Two sections, another dictionary's and then this one's, of a dozen items each, cut at
// every length with the stored total size made the cut's.
TEST_F(Exchange, EveryCutGivesZeroAndKeepsTheFilesConsistent) {
  for (uint32_t i = 0; i < 8; ++i)
    ASSERT_EQ(dicAddRecord(dict_, ("kiwi" + std::to_string(i)).c_str(), 0, "a\r\nb", 0), 1);
  for (const char* own : kOwnWords) ASSERT_EQ(dicAddMem(word(own), "note", 0), 1);
  ASSERT_EQ(dicExportOwnerWord(kDictId, path_.data()), 1);
  const std::string section = readFileBytes(path_).substr(16);
  const std::string whole = "FWOS" + le32(1) + le32(2) + le32(16 + 2 * uint32_t(section.size())) +
                            le32(0x00020202) + section.substr(4) + section;
  install("cut");
  const size_t secondItems = 16 + section.size() + 16;
  for (size_t cut = 0; cut <= whole.size(); ++cut) {
    std::string bytes = whole.substr(0, cut);
    if (cut >= 16) bytes.replace(12, 4, le32(uint32_t(cut)));
    writeFileBytes(path_, bytes);
    EXPECT_EQ(dicGetImportOwnerWordCount(kDictId, path_.c_str()), cut >= secondItems ? 12u : 0u)
        << cut;
    EXPECT_EQ(dicImportOwnerWord(kDictId, path_.c_str(), nullptr), cut == whole.size() ? 1 : 0)
        << cut;
    EXPECT_EQ(consistency(), "") << cut;
  }
  EXPECT_EQ(entries(kRecordId).size(), 8u);
  EXPECT_EQ(entries(kMemId).size(), 4u);
}

}  // namespace
}  // namespace orvia::testing
