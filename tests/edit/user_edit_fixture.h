// English dictionaries with their record and memory companions in the test's folder,
// written and read through the store C interface (so over whichever store the test
// links) and edited through the exports; and the checks every edit must leave true.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "dict/word_handle.h"
#include "orviadic.h"
#include "support/dictionary_fixtures.h"
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
    if (block < 4 || uint64_t(block) + 256 > bytes.size()) return chain + " leaves the file";
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
    if (!(problem = claim(block, "the free list")).empty()) return problem;
  return bytes.size() < 4 ? "a file of " + std::to_string(bytes.size()) + " bytes" : "";
}

class UserEditFixture : public ConfigFixture {
 protected:
  void SetUp() override {
    ConfigFixture::SetUp();
    writeDictKey("\"PATH\"=\"" + dir_.path() + "\"\r\n");
    dict_ = makeDictionary(kDictId);
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
    return dir_.file(name);
  }

  // Writes id's index with kOwnWords and the empty companions, and opens it.
  HDICT* makeDictionary(uint32_t id) {
    EXPECT_EQ(dbCreate(fileOf(id, ".IDX").c_str()), 1);
    DBHANDLE db = dbOpen(fileOf(id, ".IDX").c_str(), compare());
    char name[dict::kFileNameBufferSize];
    dict::buildDictFileName(id, name, ".DAT");
    uint32_t locator = 0x100;
    for (const char* word : kOwnWords)
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

  static DbCompareFn compare() { return lang::getCompareKeysFn(1); }

  HDICT* dict_ = nullptr;
  std::vector<HWORD*> words_;
  std::vector<HDICT*> dicts_;
};

}  // namespace orvia::testing
