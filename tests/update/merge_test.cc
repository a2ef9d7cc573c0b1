// The new-word merge through its exports: what each scenario of
// tests/data/update/merge_cases.txt reports, lists, writes, merges, moves and records.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <sstream>

#include "support/case_table.h"
#include "support/content_files.h"
#include "support/message_receiver.h"
#include "update/merge_fixture.h"
#include "update/merged_record.h"

namespace orvia::testing {
namespace {

namespace fs = std::filesystem;
constexpr uint32_t kMessage = 0x401;  // WM_USER + 1

// The reports of both modes, as " stage=value" each; onMerged sees each merged record's
// key while the merge waits.
std::string reportLog;
std::function<void(const std::string&)> onMerged;
void ORVIADIC_API reportProc(uint32_t stage, intptr_t value) {
  const bool key = stage == 2 || stage == 3;
  const std::string text = key ? reinterpret_cast<const char*>(value) : std::to_string(value);
  reportLog += " " + std::to_string(stage) + "=" + text;
  if (stage == 2 && onMerged) onMerged(text);
}
intptr_t reportSink(uint32_t, uint32_t, uintptr_t stage, intptr_t value) {
  reportProc(uint32_t(stage), value);
  return 0;
}

class Merge : public MergeFixture {
 public:
  void setUp(const std::string& action, uint32_t target, const std::string& path) {
    const size_t eq = action.find('=');
    const std::string what = action.substr(0, eq), value = action.substr(eq + 1);
    const size_t colon = value.find(':');
    const std::string server = dir_.file("server"), values = "\"PATH\"=\"" + dir_.path() + "\"\r\n";
    if (what == "merge") {
      EXPECT_EQ(dicAddNewWord(newWordFile(target, 0, value).c_str()), 1);
    }
    if (what == "stored") writeDictKey(values + "\"" + digits(target) + "version\"=dword:" + value);
    if (what == "server" && fs::create_directory(server)) {
      sharedDictionary(server, target, value);
      writeDictKey(values + "\"Type\"=dword:00000001\r\n\"ServerDataPath\"=\"" + server + "\"");
      reload();
    }
    if (what == "record") {
      EXPECT_EQ(
          dicAddRecord(dict_, value.c_str(), 0, "zyzzyva\r\n~J[User-defined]\r\nMy own weevil.", 0),
          1);
    }
    if (what == "drop") fs::remove(dir_.file(value));
    if (what == "pad")
      fs::resize_file(dir_.file(value.substr(0, colon)),
                      std::stoul(value.substr(colon + 1), nullptr, 0));
    if (what == "break")
      onMerged = [=](const std::string& key) { key == value ? moveIndexAside(target) : void(); };
    if (what == "spoil") spoil(path, value.substr(0, colon), value.substr(colon + 1));
  }

  // Compacts T's index into a segment file of its own, then moves that file aside until
  // the merge is over: the merge's next lookup in T fails.
  void moveIndexAside(uint32_t target) {
    DBHANDLE db = dbOpen(fileOf(target, ".IDX").c_str(), compare());
    EXPECT_EQ(dbCompact(db) + dbClose(db), 2);
    for (const auto& file : fs::directory_iterator(dir_.path()))
      if (file.path().stem() == digits(target) + ".IDX") aside_ = file.path().string();
    fs::rename(aside_, aside_ + "~");
  }

  // Spoils the new-word file one way (merge_cases.txt tells the ways).
  void spoil(const std::string& path, const std::string& how, const std::string& numbers) {
    std::string bytes = readFileBytes(path);
    const uint32_t n = uint32_t(std::stoul(numbers, nullptr, 0));
    if (how == "cut") bytes.resize(n);
    if (how == "add") bytes += std::string(n, 'x');
    if (how == "u32") bytes.replace(std::stoul(numbers.substr(numbers.find(':') + 1)), 4, le32(n));
    writeFileBytes(path, bytes);
  }

  // T's list, its lines separated by blanks; none when there is no list.
  std::string listOf(uint32_t target) {
    const std::string list = dir_.file(digits(target) + ".NEW");
    std::string all = readFileBytes(list), out;
    for (size_t at = 0; (at = all.find("\r\n")) != std::string::npos; all.erase(0, at + 2))
      out += (out.empty() ? "" : " ") + all.substr(0, at);
    return fs::exists(list) ? out : "none";
  }
  // The new-word companion's files that exist.
  std::string companionFiles(uint32_t target) {
    std::string out;
    for (const char* extension : {".IDX", ".DAT"})
      out += fs::exists(fileOf(dict::newWordDictId(target), extension)) ? extension : "";
    return out;
  }
  std::string aside_;
};

TEST_F(Merge, ScenarioTable) {
  const MessageReceiver receiver(reportSink);
  forEachCase("update/merge_cases.txt", [&](const CaseRow& c) {
    restart();
    aside_.clear();
    onMerged = nullptr;
    const uint32_t target = uint32_t(c.number(1));
    if (dict::companionKindOf(target) != dict::kNewWordKind) makeTarget(target);
    const std::string path = newWordFile(target, uint32_t(c.number(4)), c.fields[5]);
    std::istringstream setup(c.fields[2]);
    for (std::string action; setup >> action;) setUp(action, target, path);
    NotifyTarget notify{c.fields[2].find("window=0") == std::string::npos ? receiver.window() : 0,
                        kMessage};
    reportLog.clear();
    const std::string& mode = c.fields[3];
    const int result =
        mode == "plain"
            ? dicAddNewWord(path.c_str())
            : dicAddNewWordEx(path.c_str(), uint32_t(std::stoi(mode)),
                              mode == "2" ? reinterpret_cast<void*>(&reportProc) : &notify);
    if (!aside_.empty()) fs::rename(aside_ + "~", aside_);
    uint32_t version = 0;
    const bool stored = dicGetCurrentNewWordVersion(target, &version) != 0;
    HDICT* t = dicts_.emplace_back(dicCreateHDICT(target));
    std::string want;
    for (size_t i = 6; i < 12; ++i) want += (i > 6 ? " | " : "") + c.fields[i];
    EXPECT_EQ(std::to_string(result) + " | " + (reportLog.empty() ? "" : reportLog.substr(1)) +
                  " | " + listOf(target) + " | " + (stored ? std::to_string(version) : "none") +
                  " | " + companionFiles(target) + " | " +
                  std::to_string(t != nullptr ? dicGetWordCount(t) : 0),
              want);
    // Every word reported merged reads its new text in T, and in the installed dictionary
    // when T feeds it; a user's record of it became a note.
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
    if (c.fields[2].find("record=") != std::string::npos && result == 1) {
      EXPECT_EQ(note("zyzzyva"), "zyzzyva\r\nMy own weevil.") << "the marker line removed";
      EXPECT_TRUE(entries(dict::recordDictId(kDictId)).empty());
      EXPECT_EQ(consistency(), "");
    }
  });
}

// Forms of merged records: a locator at an append offset, or a shared record's (short:
// its whole contentRef beside the level; extended: its extendedRef, designated exactly),
// and records that have no room left for the extended form's 4 bytes.
TEST(MergedRecord, FormTable) {
  forEachCase("update/merged_records.txt", [&](const CaseRow& c) {
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
  });
}

}  // namespace
}  // namespace orvia::testing
