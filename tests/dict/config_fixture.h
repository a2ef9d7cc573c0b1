// The library's module state loaded over the test's own registry key.
#pragma once

#include "dict/config.h"
#include "support/registry_fixture.h"

namespace orvia::testing {

class ConfigFixture : public RegistryFixture {
 protected:
  void SetUp() override {
    RegistryFixture::SetUp();
    load();
  }
  void TearDown() override {
    dict::moduleUnload();
    RegistryFixture::TearDown();
  }
  // Re-reads "Type" as a fresh load would.
  void reload() {
    dict::moduleUnload();
    load();
  }

 private:
  // A load, then the test's key in place of the default one.
  void load() {
    ASSERT_TRUE(dict::moduleLoad(nullptr));
    ASSERT_EQ(dict::setRegistryKey(testing::testKeyRoot(), testing::testKeyPath()), 1);
  }
};

}  // namespace orvia::testing
