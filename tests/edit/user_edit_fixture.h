// English dictionaries with their record and memory companions in the test's folder,
// written and read through the store C interface (so over whichever store the test
// links) and edited through the exports; the checks every edit must leave true; and the
// runner of scripts of calls and checks (tests/data/edit/user_edits.txt says how they
// read).
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <deque>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "dict/word_handle.h"
#include "orviadic.h"
#include "support/case_table.h"
#include "support/dictionary_fixtures.h"
#include "support/golden.h"
#include "support/read_only_page.h"
#include "support/store_records.h"

namespace orvia::testing {

inline constexpr uint32_t kDictId = 0x00010101;
inline constexpr const char* kOwnWords[] = {"banana", "date", "grape", "mango"};

// "" when no block of a user-entry file lies on two chains: each entry's chain (its head
// and ceil(C / 252) content blocks, the last linking to 0) and the free list. Blocks that
// no chain reaches are orphans, which a failed write may leave. Otherwise the first problem.
inline std::string walkUserEntryFile(const std::string& bytes,
                                     const std::vector<std::string>& records) {
  auto at = [&](uint64_t offset) {
    return offset + 4 <= bytes.size() ? loadU32Le(reinterpret_cast<const uint8_t*>(&bytes[offset]))
                                      : 0u;
  };
  std::map<uint32_t, std::string> owner;
  auto claim = [&](uint32_t block, const std::string& chain) -> std::string {
    if (block < 4 || uint64_t(block) + 256 > bytes.size()) return " leaves the file";
    auto [it, fresh] = owner.emplace(block, chain);
    return fresh ? "" : " block " + std::to_string(block) + " on " + it->second + " and " + chain;
  };
  std::string problem;
  for (const std::string& record : records) {
    const std::string chain = "entry " + keyOf(record);
    uint32_t block = refOf(record);
    if (!(problem = claim(block, chain)).empty() || at(block + 4) > 244) return chain + problem;
    for (uint32_t blocks = (at(block + 8) + 251) / 252; blocks > 0; --blocks)
      if ((block = at(block)) == 0 || !(problem = claim(block, chain)).empty())
        return chain + " ends early" + problem;
    if (at(block) != 0) return chain + " does not end in 0";
  }
  for (uint32_t block = at(0); block != 0; block = at(block))
    if (!(problem = claim(block, "the free list")).empty()) return "the free list" + problem;
  return bytes.size() < 4 ? "a file of " + std::to_string(bytes.size()) + " bytes" : "";
}

class UserEditFixture : public ConfigFixture {
 protected:
  void SetUp() override {
    ConfigFixture::SetUp();
    writeDictKey("\"PATH\"=\"" + dir_.path() + "\"\r\n");
    dict_ = makeDictionary(kDictId);
    ASSERT_NE(pages_.first(), nullptr);
  }
  void TearDown() override {
    for (HWORD* word : words_) dicFreeHWORD(word);
    for (HDICT* dict : dicts_) dicFreeHDICT(dict);
    ConfigFixture::TearDown();
  }

 public:  // for the tables of the tests
  std::string fileOf(uint32_t id, const char* extension) const {
    char name[dict::kFileNameBufferSize];
    dict::buildDictFileName(id, name, extension);
    return (std::filesystem::path(folder_) / name).string();
  }

  // Writes id's index with words (the own words unless given) and the empty companions
  // into folder_, and opens it.
  HDICT* makeDictionary(uint32_t id, const std::vector<std::string>& words = {
                                         std::begin(kOwnWords), std::end(kOwnWords)}) {
    EXPECT_EQ(dbCreate(fileOf(id, ".IDX").c_str()), 1);
    DBHANDLE db = dbOpen(fileOf(id, ".IDX").c_str(), compare());
    char name[dict::kFileNameBufferSize] = {};  // the store keeps all 16 bytes
    dict::buildDictFileName(id, name, ".DAT");
    uint32_t locator = 0x100;
    for (const std::string& word : words)
      EXPECT_TRUE(insertArea(db, area(word, word) + '\xB8', locator++, id, name));
    EXPECT_EQ(dbClose(db), 1);
    for (uint32_t companion : {dict::recordDictId(id), dict::memDictId(id)}) {
      EXPECT_EQ(dbCreate(fileOf(companion, ".IDX").c_str()), 1);
      writeFileBytes(fileOf(companion, ".DAT"), std::string(4, '\0'));
    }
    dicts_.push_back(dicCreateHDICT(id));
    EXPECT_NE(dicts_.back(), nullptr);
    return dicts_.back();
  }

  // A handle on the record dicSearchWord lands on, freed at the end of the test.
  HWORD* word(const std::string& text, HDICT* dict = nullptr) {
    words_.push_back(dicSearchWord(dict != nullptr ? dict : dict_, text.c_str()));
    EXPECT_NE(words_.back(), nullptr) << text;
    return words_.back();
  }

  // What dicGetContent reads as content id of the word text when the word is there and
  // its record is filed under kind (any for 0); "" otherwise.
  std::string content(const std::string& text, HDICT* dict, uint32_t id, uint32_t kind) {
    dict::IndexRecordView view;
    HWORD* w = dicIsExistWord(dict, text.c_str()) != 0 ? word(text, dict) : nullptr;
    if (w == nullptr || !dict::wordRecord(w, &view) || (kind != 0 && view.contentDictId != kind))
      return "";
    std::string buffer(dicGetContentSize(w, id) + 1, '\0');
    return buffer.substr(0, dicGetContent(w, id, buffer.data(), uint32_t(buffer.size())));
  }
  // The note's text without its end marker; "" for none.
  std::string note(const std::string& text, HDICT* dict = nullptr) {
    dict = dict != nullptr ? dict : dict_;
    const std::string got = content(text, dict, dict::memDictId(dict->dictId), 0);
    const bool marked = got.size() >= 2 && got.compare(got.size() - 2, 2, "~!") == 0;
    return marked ? got.substr(0, got.size() - 2) : "";
  }
  std::string recordText(const std::string& text, HDICT* dict = nullptr) {
    dict = dict != nullptr ? dict : dict_;
    return content(text, dict, dict->dictId, dict::recordDictId(dict->dictId));
  }

  // The record number of text in the dictionary, as dicDelRecord takes it.
  uint32_t recordNumber(const std::string& text, HDICT* dict = nullptr) {
    uint32_t number = 0xFFFFFFFF;
    dicGetHandleInfo(word(text, dict), 1, &number);
    return number;
  }

  // The records of an index, read through the store; none when it cannot be opened.
  std::vector<std::string> entries(uint32_t id) const {
    DBHANDLE db = dbOpen(fileOf(id, ".IDX").c_str(), compare());
    std::vector<std::string> records = db != nullptr ? allRecords(db) : records;
    if (db != nullptr) dbClose(db);
    return records;
  }

  // "" when the three indexes of id pass dbVerify and the companions' user-entry files
  // walk cleanly against their indexes.
  std::string consistency(uint32_t id = kDictId) const {
    std::string problems;
    for (uint32_t index : {id, dict::recordDictId(id), dict::memDictId(id)})
      problems += verifyReport(fileOf(index, ".IDX"), compare());
    for (uint32_t companion : {dict::recordDictId(id), dict::memDictId(id)})
      problems += walkUserEntryFile(readFileBytes(fileOf(companion, ".DAT")), entries(companion));
    return problems;
  }

  void fresh() { noRecord_.dict = dict_ = makeDictionary(kDictId + (++made_ << 16)); }

  // Field i of a row as a call's text: null, edge (the four bytes "abcd" that end the last
  // readable page before one that cannot be read) or the bytes it spells.
  const char* argument(const CaseRow& c, size_t i) {
    if (c.fields.at(i) == "edge")
      return static_cast<char*>(std::memcpy(pages_.second() - 4, "abcd", 4));
    const std::optional<std::string> bytes = c.bytes(i);
    return bytes ? texts_.emplace_back(*bytes).c_str() : nullptr;
  }
  // The dictionary's companion named mem... or rec...
  uint32_t companion(const std::string& name) const {
    return name[0] == 'm' ? dict::memDictId(dict_->dictId) : dict::recordDictId(dict_->dictId);
  }
  // mem.idx, mem.dat, rec.idx or rec.dat of the dictionary.
  std::string file(const std::string& name) const {
    return fileOf(companion(name), name.substr(4) == "idx" ? ".IDX" : ".DAT");
  }
  // The companion's records (mem or rec) as key@head, in order.
  std::string keys(const std::string& index) const {
    std::string out;
    for (const std::string& r : entries(companion(index)))
      out += (out.empty() ? "" : " ") + keyOf(r) + "@" + std::to_string(refOf(r));
    return out;
  }
  // A test that fails steps on purpose arms the failure once a call's arguments are ready.
  virtual void arm() {}
  virtual void disarm() {}
  template <typename Call>
  std::string called(Call call) {
    arm();
    const int32_t result = call();
    disarm();
    return std::to_string(result);
  }

  // What the row's call or check gives, as its wanted field spells it.
  std::string run(const CaseRow& c) {
    const std::string &op = c.fields.at(1), &w = c.fields.at(2);
    if (op == "fresh") fresh();
    if (op == "mem" || op == "delmem") {
      HWORD* found = w == "null" ? nullptr : w == "no-record" ? &noRecord_ : word(w);
      const char* text = op == "mem" ? argument(c, 3) : nullptr;
      return called([&] {
        return op == "mem" ? dicAddMem(found, text, uint32_t(c.number(4))) : dicDelMem(found);
      });
    }
    if (op.rfind("rec", 0) == 0 && op != "record") {
      if (op == "rec@companion" && companion_ == nullptr)
        companion_ = dicts_.emplace_back(dicCreateHDICT(dict::recordDictId(kDictId)));
      HDICT* dict = op == "rec@null" ? nullptr : op == "rec@companion" ? companion_ : dict_;
      const char *word = argument(c, 2), *text = argument(c, 3);
      return called([&] { return dicAddRecord(dict, word, 0, text, uint32_t(c.number(4))); });
    }
    if (op == "delrec") {
      const uint32_t number = w == "null"          ? 0
                              : std::isdigit(w[0]) ? uint32_t(c.number(2))
                                                   : recordNumber(w);
      return called([&] { return dicDelRecord(w == "null" ? nullptr : dict_, number); });
    }
    if (op == "note") return note(w);
    if (op == "record") return recordText(w);
    if (op == "exists") return std::to_string(dicIsExistWord(dict_, w.c_str()));
    if (op == "keys") return keys(w);
    if (op == "list") {
      char list[64] = {};
      uint32_t listed = 0;
      dicGetWordList(dict_, recordNumber(w), 1, list, sizeof list, &listed);
      return std::string(list, 2 + std::strlen(list + 1));
    }
    if (op == "snapshot") snapshot_ = dir_.files();
    if (op == "unchanged") return dir_.files() == snapshot_ ? "yes" : "no";
    if (op == "restore")
      for (const auto& [name, bytes] : snapshot_) writeFileBytes(dir_.file(name), bytes);
    if (op == "remove") std::filesystem::remove(file(w));
    if (op == "write") writeFileBytes(file(w), *c.bytes(3));
    if (op == "poke") {
      const std::string bytes = *c.bytes(3);
      const size_t at = c.fields.at(4).empty() ? 0 : size_t(c.number(4));
      writeFileBytes(file(w), readFileBytes(file(w)).replace(at, bytes.size(), bytes));
    }
    // The owner-word exchange, through the file words.fwos of the test's folder.
    std::string exchange = dir_.file(c.fields.at(3).empty() ? "words.fwos" : c.fields[3]);
    if (op == "export")
      return std::to_string(dicExportOwnerWord(uint32_t(c.number(2)), exchange.data()));
    if (op == "exported")
      return goldenBytes("update/exchange/" + w) == readFileBytes(exchange) ? "yes" : "no";
    if (op == "exchange") writeFileBytes(exchange, goldenBytes("update/exchange/" + w));
    if (op == "import") {  // with w, a callback that answers 0 at its call number w
      calls_ = 0, stopAt_ = w.empty() ? 0 : uint32_t(c.number(2));
      const int32_t result =
          dicImportOwnerWord(kDictId, exchange.c_str(), w.empty() ? nullptr : stopping);
      return std::to_string(result) + (w.empty() ? "" : " after " + std::to_string(calls_));
    }
    return op == "consistent" ? consistency(dict_->dictId) : "";
  }
  static uint32_t ORVIADIC_API stopping() { return ++calls_ == stopAt_ ? 0 : 1; }
  static inline uint32_t calls_ = 0, stopAt_ = 0;
  // Runs the row and compares with its wanted field (field 5).
  void expectRow(const CaseRow& c) {
    SCOPED_TRACE(c.line);
    const std::string& op = c.fields.at(1);
    const bool bytes = op == "note" || op == "record" || op == "list" || op == "keys";
    EXPECT_EQ(run(c), bytes ? *c.bytes(5) : c.fields.at(5));
  }

  static DbCompareFn compare() { return lang::getCompareKeysFn(1); }

  std::string folder_ = dir_.path();  // where the dictionaries' files are made
  HDICT* dict_ = nullptr;
  HDICT* companion_ = nullptr;
  std::vector<HWORD*> words_;
  std::vector<HDICT*> dicts_;
  GuardedPages pages_{PageAccess::kNone};
  HWORD noRecord_ = {nullptr, nullptr};
  std::deque<std::string> texts_;
  std::map<std::string, std::string> snapshot_;
  uint32_t made_ = 0;
};

}  // namespace orvia::testing
