// Fixtures over the test's own registry key: the library's module state loaded over it,
// dictionaries whose indexes live in the store double, and the shipped library pointed
// at it.
#pragma once

#include <string>
#include <vector>

#include "dict/config.h"
#include "dict/dict_id.h"
#include "dict/dictionary.h"
#include "lang/lang_ops.h"
#include "orviadic.h"
#include "support/registry_fixture.h"
#include "support/store_double.h"

namespace orvia::testing {

class ConfigFixture : public RegistryFixture {
 protected:
  void SetUp() override {
    RegistryFixture::SetUp();
    reload();
  }
  void TearDown() override {
    dict::moduleUnload();
    RegistryFixture::TearDown();
  }
  // A fresh load, which reads "Type", then the test's key in place of the default one.
  void reload() {
    dict::moduleUnload();
    ASSERT_TRUE(dict::moduleLoad(nullptr));
    ASSERT_EQ(dict::setRegistryKey(testKeyRoot(), testKeyPath()), 1);
  }
};

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
    opened_.push_back(dicCreateHDICT(id));
    EXPECT_NE(opened_.back(), nullptr);
    return opened_.back();
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

// The shipped library over the test's key, whose PATH is the test's folder. It read the
// default key when it loaded.
class ExportsFixture : public RegistryFixture {
 protected:
  void SetUp() override {
    RegistryFixture::SetUp();
    writeDictKey("\"PATH\"=\"" + dir_.path() + "\"\r\n");
    ASSERT_EQ(dicSetRegKey(reinterpret_cast<void*>(uintptr_t(testKeyRoot())), testKeyPath()), 1);
  }
};

}  // namespace orvia::testing
