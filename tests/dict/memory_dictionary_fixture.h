// Dictionaries whose indexes live in the in-memory store double, found through a
// private registry like real ones.
#pragma once

#include <string>
#include <vector>

#include "config_fixture.h"
#include "dict/dict_id.h"
#include "dict/dictionary.h"
#include "doubles/store_double.h"
#include "lang/lang_ops.h"

namespace orvia::testing {

class MemoryDictionaryFixture : public ConfigFixture {
 protected:
  void SetUp() override {
    ConfigFixture::SetUp();
    StoreDouble::instance().reset();
    writeDictKey("\"PATH\"=\"" + dir_.path() + "\"\r\n");
  }
  void TearDown() override {
    closeAll();
    ConfigFixture::TearDown();
  }

  // Puts records into id's index, in key order, and opens the dictionary.
  HDICT* openMemoryDictionary(uint32_t id, const std::vector<StoredRecord>& records) {
    char name[dict::kFileNameBufferSize];
    dict::buildDictFileName(id, name, ".IDX");
    StoreDouble::instance().load(dir_.file(name), lang::getCompareKeysFn(lang::languageOf(id)),
                                 records);
    HDICT* dict = dicCreateHDICT(id);
    EXPECT_NE(dict, nullptr);
    if (dict != nullptr) opened_.push_back(dict);
    return dict;
  }

  // Closes every dictionary opened so far and forgets their indexes.
  void closeAll() {
    for (HDICT* dict : opened_) dicFreeHDICT(dict);
    opened_.clear();
    StoreDouble::instance().indexes.clear();
  }

 private:
  std::vector<HDICT*> opened_;
};

}  // namespace orvia::testing
