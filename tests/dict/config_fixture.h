// The library's module state loaded over a private registry folder.
#pragma once

#include "dict/config.h"
#include "support/registry_fixture.h"

namespace orvia::testing {

class ConfigFixture : public RegistryFixture {
 protected:
  void SetUp() override {
    RegistryFixture::SetUp();
    ASSERT_TRUE(dict::moduleLoad(nullptr));
  }
  void TearDown() override {
    dict::moduleUnload();
    platform::injectAllocationFailure(0);
    RegistryFixture::TearDown();
  }
  // Re-reads "Type" as a fresh load would.
  void reload() {
    dict::moduleUnload();
    ASSERT_TRUE(dict::moduleLoad(nullptr));
  }
};

}  // namespace orvia::testing
