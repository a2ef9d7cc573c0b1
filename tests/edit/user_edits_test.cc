// Notes and records through the exports over the real record store: what each call
// leaves in the companions, what it refuses, and that refusals change no byte.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <set>
#include <string>

#include "support/content_files.h"
#include "support/read_only_page.h"
#include "user_edit_fixture.h"

namespace orvia::testing {
namespace {

// Every file of the folder, name and bytes, for "nothing changed".
std::string folderBytes(const TempDir& dir) {
  const std::set<std::filesystem::path> paths(std::filesystem::directory_iterator(dir.path()), {});
  std::string out;
  for (const auto& path : paths) out += path.string() + ":" + readFileBytes(path.string()) + "\n";
  return out;
}

using UserEdits = UserEditFixture;
const uint32_t kMemId = dict::memDictId(kDictId);
const uint32_t kRecordId = dict::recordDictId(kDictId);

// Length 0 takes the text's own length; a note of three content blocks replaces one of
// one in place.
TEST_F(UserEdits, ANoteIsReplacedInPlaceThenDeletedAndAddedAgain) {
  ASSERT_EQ(dicAddMem(word("date"), "first", 0), 1);
  EXPECT_EQ(note("date"), "first");
  const uint32_t head = refOf(entries(kMemId).at(0));
  const std::string longer(600, 'x');
  ASSERT_EQ(dicAddMem(word("date"), longer.c_str(), 0), 1);
  ASSERT_EQ(entries(kMemId).size(), 1u) << "still one index record";
  EXPECT_EQ(refOf(entries(kMemId)[0]), head) << "same head offset";
  EXPECT_EQ(note("date"), longer);
  ASSERT_EQ(dicDelMem(word("date")), 1);
  EXPECT_EQ(entries(kMemId).size(), 0u);
  EXPECT_EQ(note("date"), "");
  ASSERT_EQ(dicAddMem(word("date"), "again, cut", 5), 1);
  EXPECT_EQ(note("date"), "again");
  EXPECT_EQ(consistency(), "");
}

// Each note lands before, between or after the notes there already: a seek that stops on
// the wrong side, or an insert after its equals, mixes texts up.
TEST_F(UserEdits, NotesLandBeforeBetweenAndAfterTheOthers) {
  const char* order[] = {"grape", "date", "mango", "banana"};  // between, before, after, first
  for (const char* w : order) ASSERT_EQ(dicAddMem(word(w), (std::string("on ") + w).c_str(), 0), 1);
  ASSERT_EQ(dicAddMem(word("grape"), "on grape, again", 0), 1);
  ASSERT_EQ(entries(kMemId).size(), 4u);
  EXPECT_EQ(keyOf(entries(kMemId)[0]), "banana");
  for (const char* w : {"banana", "date", "mango"}) EXPECT_EQ(note(w), std::string("on ") + w);
  EXPECT_EQ(note("grape"), "on grape, again");
  EXPECT_EQ(consistency(), "");
}

TEST_F(UserEdits, ARecordIsFoundReadListedAndDeleted) {
  const std::string text = "kiwi\r\n~J[User-defined]\r\na fruit";
  ASSERT_EQ(dicAddRecord(dict_, "kiwi", 0, text.c_str(), 0), 1);
  EXPECT_EQ(recordText("kiwi"), text) << "found, exactly as given, no marker added";
  const uint32_t number = recordNumber("kiwi");
  char list[64] = {};
  uint32_t listed = 0;
  ASSERT_EQ(dicGetWordList(dict_, number, 1, list, sizeof list, &listed), 1u);
  EXPECT_EQ(std::string(list, 6), std::string("\x7Fkiwi", 6));
  ASSERT_EQ(dicDelRecord(dict_, number), 1);
  EXPECT_EQ(dicIsExistWord(dict_, "kiwi"), 0);
  EXPECT_EQ(entries(kRecordId).size(), 0u);
  EXPECT_EQ(entries(kDictId).size(), std::size(kOwnWords));
  EXPECT_EQ(consistency(), "");
}

TEST_F(UserEdits, RecordsAreRefusedForWordsThereAlreadyTooLongOrOfACompanion) {
  dicts_.push_back(dicCreateHDICT(kRecordId));
  ASSERT_NE(dicts_.back(), nullptr);
  const std::pair<std::string, int32_t> cases[] = {{"kiwi", 1},
                                                   {"kiwi", 0},
                                                   {"KIWI", 1},
                                                   {"banana", 0},
                                                   {std::string(243, 'q'), 1},
                                                   {std::string(244, 'r'), 0}};
  for (const auto& [word, result] : cases)
    EXPECT_EQ(dicAddRecord(dict_, word.c_str(), 0, "text", 0), result) << word.substr(0, 8);
  EXPECT_EQ(dicAddRecord(dicts_.back(), "plum", 0, "text", 0), 0) << "a companion";
  EXPECT_EQ(entries(kRecordId).size(), 3u);
  EXPECT_EQ(consistency(), "");
}

TEST_F(UserEdits, RefusedDeletesChangeNoByte) {
  ASSERT_EQ(dicAddMem(word("date"), "a note", 0), 1);
  ASSERT_EQ(dicAddRecord(dict_, "kiwi", 0, "a record", 0), 1);
  const std::string before = folderBytes(dir_);
  EXPECT_EQ(dicDelRecord(dict_, recordNumber("banana")), 0) << "the dictionary's own word";
  EXPECT_EQ(dicDelRecord(dict_, 99), 0) << "past the end";
  EXPECT_EQ(dicDelMem(word("grape")), 0) << "no note";
  EXPECT_EQ(folderBytes(dir_), before);
}

// A writer that finds a companion missing or not its own fails, and what it could reach
// stays as it was. Bytes "-" remove the file.
TEST_F(UserEdits, DamagedCompanionsMakeEveryWriterFail) {
  ASSERT_EQ(dicAddMem(word("date"), "kept", 0), 1);
  const std::string memIndex = fileOf(kMemId, ".IDX"), memData = fileOf(kMemId, ".DAT");
  const std::string goodMemIndex = readFileBytes(memIndex), goodMemData = readFileBytes(memData);
  const std::string recordIndex = fileOf(kRecordId, ".IDX");
  const std::string recordData = fileOf(kRecordId, ".DAT");
  const std::pair<std::string, std::string> cases[] = {
      {memIndex, "-"},
      {memIndex, "not an index"},
      {memData, "-"},
      {memData, std::string(3, '\0')},
      {memData, le32(0x100000) + goodMemData.substr(4)},   // free list head past the end
      {memData, le32(4) + le32(4) + std::string(252, 0)},  // a free block linking to itself
      {recordIndex, "-"},
      {recordData, "-"},
  };
  for (const auto& [path, bytes] : cases) {
    SCOPED_TRACE(path + " " + bytes.substr(0, 12));
    const std::string saved = readFileBytes(path);
    if (bytes == "-") std::filesystem::remove(path);
    if (bytes != "-") writeFileBytes(path, bytes);
    if (path == recordIndex || path == recordData) {
      EXPECT_EQ(dicAddRecord(dict_, "kiwi", 0, "text", 0), 0);
      EXPECT_EQ(dicIsExistWord(dict_, "kiwi"), 0);
    } else {
      EXPECT_EQ(dicAddMem(word("grape"), std::string(300, 'n').c_str(), 0), 0);
      EXPECT_EQ(dicDelMem(word("date")), 0);
    }
    writeFileBytes(path, saved);
    writeFileBytes(memIndex, goodMemIndex);
    writeFileBytes(memData, goodMemData);
  }
  EXPECT_EQ(note("date"), "kept");
  EXPECT_EQ(consistency(), "");
}

TEST_F(UserEdits, BadArgumentsGiveZero) {
  GuardedPages pages(PageAccess::kNone);
  ASSERT_NE(pages.first(), nullptr);
  // Text that runs into the guard page: its last readable byte is the page's last.
  char* edge = pages.second() - 4;
  std::memcpy(edge, "abcd", 4);
  HWORD* date = word("date");
  HWORD noRecord = {dict_, nullptr};
  EXPECT_EQ(dicAddMem(nullptr, "t", 0), 0);
  EXPECT_EQ(dicAddMem(&noRecord, "t", 0), 0);
  EXPECT_EQ(dicAddMem(date, nullptr, 0), 0);
  EXPECT_EQ(dicAddMem(date, "", 0), 0);
  EXPECT_EQ(dicAddMem(date, edge, 5), 0);
  EXPECT_EQ(dicAddMem(date, edge, 0), 0) << "no terminator before the guard page";
  EXPECT_EQ(dicDelMem(nullptr), 0);
  EXPECT_EQ(dicDelMem(&noRecord), 0);
  EXPECT_EQ(dicAddRecord(nullptr, "w", 0, "t", 0), 0);
  EXPECT_EQ(dicAddRecord(dict_, nullptr, 0, "t", 0), 0);
  EXPECT_EQ(dicAddRecord(dict_, "w", 0, nullptr, 0), 0);
  EXPECT_EQ(dicAddRecord(dict_, "", 0, "t", 0), 0);
  EXPECT_EQ(dicAddRecord(dict_, "w", 0, "", 0), 0);
  EXPECT_EQ(dicAddRecord(dict_, edge, 0, "t", 0), 0);
  EXPECT_EQ(dicAddRecord(dict_, "w", 0, edge, 5), 0);
  EXPECT_EQ(dicAddRecord(dict_, "   ", 0, "t", 0), 0) << "no usable key";
  EXPECT_EQ(dicDelRecord(nullptr, 0), 0);
  EXPECT_EQ(dicAddMem(date, edge, 4), 1) << "the readable bytes alone are fine";
  EXPECT_EQ(note("date"), "abcd");
  EXPECT_EQ(entries(kRecordId).size(), 0u);
  EXPECT_EQ(consistency(), "");
}

}  // namespace
}  // namespace orvia::testing
