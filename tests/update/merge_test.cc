// The new-word merge through its exports: what each scenario of
// tests/data/update/merge_cases.txt reports, lists, merges, moves and records.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <sstream>

#include "platform/platform.h"
#include "support/case_table.h"
#include "support/message_receiver.h"
#include "support/content_files.h"
#include "update/merge_fixture.h"
#include "update/merged_record.h"

namespace orvia::testing {
namespace {

constexpr uint32_t kMessage = 0x401;  // WM_USER + 1
const std::string kUserText = "zyzzyva\r\nMy own weevil.";

class Merge : public MergeFixture {
 public:
  void setUp(const std::string& action, uint32_t target) {
    const size_t eq = action.find('=');
    const std::string what = action.substr(0, eq), value = action.substr(eq + 1);
    if (what == "merge") {
      EXPECT_EQ(dicAddNewWord(newWordFile(target, 0, value).c_str()), 1);
    } else if (what == "stored") {
      char digits[9];
      dict::formatDictIdHex(target, digits);
      writeDictKey("\"PATH\"=\"" + dir_.path() + "\"\r\n\"" + digits + "version\"=dword:" + value +
                   "\r\n");
    } else if (what == "record") {
      EXPECT_EQ(
          dicAddRecord(dict_, value.c_str(), 0, "zyzzyva\r\n~J[User-defined]\r\nMy own weevil.", 0),
          1);
    }
    if (what == "drop") std::remove(dir_.file(value).c_str());
    if (what == "pad")
      std::filesystem::resize_file(dir_.file(value.substr(0, 12)),
                                   std::stoul(value.substr(13), nullptr, 0));
  }
  int merge(const std::string& mode, const std::string& path, NotifyTarget* notify) {
    if (mode == "plain") return dicAddNewWord(path.c_str());
    if (mode == "2") return dicAddNewWordEx(path.c_str(), 2, reinterpret_cast<void*>(&reportProc));
    return dicAddNewWordEx(path.c_str(), uint32_t(std::stoi(mode)), notify);
  }
  std::string listOf(uint32_t target) {
    char digits[9];
    dict::formatDictIdHex(target, digits);
    std::ifstream in(dir_.file(std::string(digits) + ".NEW"), std::ios::binary);
    if (!in) return "none";
    std::string all((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>()), out;
    for (size_t at = 0; (at = all.find("\r\n")) != std::string::npos; all.erase(0, at + 2))
      out += (out.empty() ? "" : " ") + all.substr(0, at);
    return out;
  }
};

TEST_F(Merge, ScenarioTable) {
  const MessageReceiver receiver(reportSink);
  for (const CaseRow& c : caseTable("update/merge_cases.txt")) {
    SCOPED_TRACE(c.line);
    TearDown();
    words_.clear();
    dicts_.clear();
    for (const auto& file : std::filesystem::directory_iterator(dir_.path()))
      std::filesystem::remove_all(file.path());
    SetUp();
    const uint32_t target = uint32_t(c.number(1));
    if (dict::companionKindOf(target) != dict::kNewWordKind) makeTarget(target);
    std::istringstream setup(c.fields[2]);
    for (std::string action; setup >> action;) setUp(action, target);
    const std::string path = newWordFile(target, uint32_t(c.number(4)), c.fields[5]);
    NotifyTarget notify{c.fields[2].find("window=0") == std::string::npos ? receiver.window() : 0,
                        kMessage};
    reportLog().clear();
    EXPECT_EQ(merge(c.fields[3], path, &notify), c.number(6));
    EXPECT_EQ(reportLog(), c.fields[7].empty() ? "" : " " + c.fields[7]);
    EXPECT_EQ(listOf(target), c.fields[8]);
    uint32_t version = 0;
    EXPECT_EQ(dicGetCurrentNewWordVersion(target, &version) ? std::to_string(version) : "none",
              c.fields[9]);
    // Every word reported merged reads its new text in T, and in the installed dictionary
    // when T feeds it; a user's record of it became a note.
    HDICT* t = dicts_.emplace_back(dicCreateHDICT(target));
    std::istringstream words(c.fields[5]);
    for (std::string item; std::getline(words, item, ',');) {
      const std::string word = item.substr(0, item.find(':'));
      if (c.fields[7].find("2=" + word) == std::string::npos) continue;
      const std::string text = textOf(word, std::stoi(item.substr(item.find(':') + 1)));
      EXPECT_NE(content(word, t, target, target).find(text), std::string::npos) << word;
      if (dict::companionKindOf(target) < dict::kNewWordKind) {
        EXPECT_NE(content(word, dict_, target, target).find(text), std::string::npos) << word;
      }
    }
    if (c.fields[2].find("record=") != std::string::npos && c.number(6) == 1) {
      EXPECT_EQ(note("zyzzyva"), kUserText);
      EXPECT_TRUE(entries(dict::recordDictId(kDictId)).empty());
      EXPECT_EQ(consistency(), "");
    }
  }
}

// Forms of merged records: a locator at an append offset, or a shared record's (short:
// its whole contentRef beside the level; extended: its extendedRef, designated exactly),
// and records that have no room left for the extended form's 4 bytes.
TEST(MergedRecord, FormTable) {
  for (const CaseRow& c : caseTable("update/merged_records.txt")) {
    SCOPED_TRACE(c.line);
    const uint32_t length = uint32_t(c.number(1)), level = uint32_t(c.number(2)) << 24;
    std::string block(dict::kRecordBlockSize, '\0');
    auto* bytes = reinterpret_cast<uint8_t*>(block.data());
    storeU32Le(bytes, length);
    storeU32Le(bytes + 8, uint32_t(c.number(3)));
    block.replace(16, 6, area("k") + '\xB8' + '\xB9');
    dict::IndexRecordView view;
    ASSERT_TRUE(dict::parseIndexRecord(bytes, dict::kRecordBlockSize, &view));
    update::MergedLocator locator = update::locatorAtOffset(level, uint32_t(c.number(4)));
    if (c.fields[0] == "shared") {
      ASSERT_TRUE(update::locatorFromShared(level, view, &locator).ok());
    }
    const std::string before = block;
    uint32_t areaLength = 0;
    const Status status = update::makeMergedRecord(bytes, view, locator, &areaLength);
    EXPECT_EQ(status.ok() ? std::to_string(areaLength) : "refused", c.fields[5]);
    EXPECT_EQ(status.ok() ? block.substr(8, 4) + block.substr(16, 10) : before.substr(0, 26),
              *c.bytes(6));
  }
}

// Server data mode: locators come from the shared index of the "ServerDataPath" folder,
// where the content already lies; a word the shared index lacks stops the merge there.
TEST_F(Merge, ServerDataModeTakesSharedLocators) {
  const std::string server = dir_.file("server");
  std::filesystem::create_directory(server);
  compile::CompiledDictionary shared;
  std::string problem;
  ASSERT_TRUE(compile::compileDictionary(
      sourceOf("apple:0,kiwi:0"), {0x01010101, server, compile::EntryEncoding::kStored, {}, false},
      nullptr, &shared, &problem))
      << problem;
  makeTarget(0x01010101);
  writeDictKey("\"PATH\"=\"" + dir_.path() + "\"\r\n\"Type\"=dword:00000001\r\n" +
               "\"ServerDataPath\"=\"" + server + "\"\r\n");
  reload();
  const std::string path = newWordFile(0x01010101, 1, "apple:2,kiwi:0,lime:0");
  EXPECT_EQ(dicAddNewWord(path.c_str()), 0);
  HDICT* t = dicts_.emplace_back(dicCreateHDICT(0x01010101));
  // The file's apple is of level 2; the text read is the shared file's.
  EXPECT_NE(content("apple", t, 0x01010101, 0).find(textOf("apple", 0)), std::string::npos);
  EXPECT_NE(content("kiwi", t, 0x01010101, 0), "");
  EXPECT_EQ(content("lime", t, 0x01010101, 0), "");
  uint32_t version = 0;
  EXPECT_EQ(dicGetCurrentNewWordVersion(0x01010101, &version), 0);
}

// Files spoiled one way each (update/merge_bad_files.txt): how far the merge comes.
TEST_F(Merge, BadFileTable) {
  makeTarget(0x01010101);
  for (const CaseRow& c : caseTable("update/merge_bad_files.txt")) {
    SCOPED_TRACE(c.line);
    const std::string path = newWordFile(0x01010101, 1, "apple:0,date:0,kiwi:0");
    std::string bytes = readFileBytes(path);
    auto u32At = [&](size_t at) { return loadU32Le(reinterpret_cast<uint8_t*>(&bytes[at])); };
    const uint32_t content = 40 + u32At(28), n = uint32_t(c.number(2));
    if (c.fields[1] == "cut") bytes.resize(n);
    if (c.fields[1] == "add") bytes += std::string(n, 'x');
    if (c.fields[1] == "shrink") {
      bytes.resize(bytes.size() - n);
      bytes.replace(32, 4, le32(u32At(32) - n));
      bytes.replace(36, 4, le32(u32At(36) - n));
    }
    const size_t at = c.fields[1] == "u32" ? size_t(c.number(3)) : content + 0x10007;
    if (c.fields[1] == "u32" || c.fields[1] == "record") bytes.replace(at, 4, le32(n));
    if (c.fields[1] == "wrap") {
      bytes.replace(28, 4, le32(0xFFFFFFF0));
      bytes.replace(32, 4, le32(u32At(36) + 0x10));
    }
    writeFileBytes(path, bytes);
    EXPECT_EQ(dicAddNewWord(path.c_str()), 0);
    std::string written;
    for (const char* name : {"80010101.IDX", "80010101.DAT", "01010101.NEW"})
      if (std::filesystem::exists(dir_.file(name))) written += std::string(" ") + name;
    EXPECT_EQ(written, *c.bytes(4));
    EXPECT_EQ(listOf(0x01010101), c.fields[5]);
    HDICT* t = dicts_.emplace_back(dicCreateHDICT(0x01010101));
    EXPECT_EQ(dicGetWordCount(t), c.number(6));
    for (const char* name : {"80010101.IDX", "80010101.DAT", "01010101.NEW"})
      std::filesystem::remove(dir_.file(name));
  }
}

}  // namespace
}  // namespace orvia::testing
