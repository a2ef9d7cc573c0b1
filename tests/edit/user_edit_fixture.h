// English dictionaries with their record and memory companions in the test's folder,
// written and read through the store C interface (so over whichever store the test
// links) and edited through the exports; and the checks every edit must leave true.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dict/word_handle.h"
#include "orviadb.h"
#include "orviadic.h"
#include "support/dictionary_fixtures.h"
#include "user_entry_walk.h"

namespace orvia::testing {

inline constexpr uint32_t kDictId = 0x00010101;
inline constexpr const char* kOwnWords[] = {"banana", "date", "grape", "mango"};

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

  static uint32_t recordIdOf(uint32_t id) { return dict::recordDictId(id); }
  static uint32_t memIdOf(uint32_t id) { return dict::memDictId(id); }
  std::string fileOf(uint32_t id, const char* extension) const {
    char name[dict::kFileNameBufferSize];
    dict::buildDictFileName(id, name, extension);
    return dir_.file(name);
  }

  // Writes id's index with kOwnWords and the empty companions, and opens it.
  HDICT* makeDictionary(uint32_t id) {
    const std::string path = fileOf(id, ".IDX");
    EXPECT_EQ(dbCreate(path.c_str()), 1);
    DBHANDLE db = dbOpen(path.c_str(), compare());
    char name[dict::kFileNameBufferSize] = {};
    dict::buildDictFileName(id, name, ".DAT");
    uint32_t locator = 0x100;
    for (const char* word : kOwnWords) {
      const std::string area = std::string(word) + '\0' + word + '\0' + '\0' + '\xB8';
      DbInsertDescriptor d{name, id, locator++, uint32_t(area.size()), area.data()};
      EXPECT_EQ(dbInsert(db, &d), 1) << word;
    }
    EXPECT_EQ(dbClose(db), 1);
    for (uint32_t companion : {recordIdOf(id), memIdOf(id)}) {
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

  // The note on the entry text lands on, without the end marker a note read through its
  // dictionary carries; "" when it has none.
  std::string note(const std::string& text, HDICT* dict = nullptr) {
    HWORD* w = word(text, dict);
    const uint32_t memId = memIdOf(w != nullptr ? (dict != nullptr ? dict : dict_)->dictId : 0);
    std::string buffer(dicGetContentSize(w, memId) + 1, '\0');
    const uint32_t length = dicGetContent(w, memId, buffer.data(), uint32_t(buffer.size()));
    if (length < 2 || buffer.compare(length - 2, 2, "~!") != 0) return "";
    return buffer.substr(0, length - 2);
  }

  // The content of the record text lands on when it is a record of the user's; "" else.
  std::string recordText(const std::string& text, HDICT* dict = nullptr) {
    HDICT* d = dict != nullptr ? dict : dict_;
    if (dicIsExistWord(d, text.c_str()) == 0) return "";
    HWORD* w = word(text, d);
    dict::IndexRecordView view;
    if (w == nullptr || !dict::wordRecord(w, &view) || view.contentDictId != recordIdOf(d->dictId))
      return "";
    std::string buffer(dicGetContentSize(w, d->dictId) + 1, '\0');
    const uint32_t length = dicGetContent(w, d->dictId, buffer.data(), uint32_t(buffer.size()));
    return buffer.substr(0, length);
  }

  // The record number of text in the dictionary, as dicDelRecord takes it.
  uint32_t recordNumber(const std::string& text, HDICT* dict = nullptr) {
    uint32_t number = 0xFFFFFFFF;
    dicGetHandleInfo(word(text, dict), 1, &number);
    return number;
  }

  // The records of an index, read through the store.
  std::vector<IndexEntry> entries(uint32_t id) const {
    return readIndexEntries(fileOf(id, ".IDX"), compare());
  }

  // "" when the three indexes of id pass dbVerify and the companions' user-entry files
  // walk cleanly against their indexes.
  std::string consistency(uint32_t id = kDictId) const {
    std::string problems;
    for (uint32_t index : {id, recordIdOf(id), memIdOf(id)}) {
      char report[256] = {};
      if (dbVerify(fileOf(index, ".IDX").c_str(), compare(), report, sizeof report) != 1)
        problems += std::string(" index ") + report;
    }
    for (uint32_t companion : {recordIdOf(id), memIdOf(id)})
      problems += walkUserEntryFile(readFileBytes(fileOf(companion, ".DAT")), entries(companion));
    return problems;
  }

  static DbCompareFn compare() { return lang::getCompareKeysFn(1); }

  HDICT* dict_ = nullptr;
  std::vector<HWORD*> words_;
  std::vector<HDICT*> dicts_;
};

}  // namespace orvia::testing
