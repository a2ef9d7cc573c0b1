// Gives one test a registry key of its own, set by hand and read through the backend.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "platform/platform.h"
#include "support/temp_dir.h"
#include "support/test_registry.h"

namespace orvia::testing {

class RegistryFixture : public ::testing::Test {
 protected:
  void SetUp() override { enterTestRegistry(dir_.path()); }
  void TearDown() override { leaveTestRegistry(); }

  // The test's key holding exactly the given value lines.
  void writeDictKey(const std::string& valueLines) const { EXPECT_TRUE(writeTestKey(valueLines)); }

  // The test's key, or a key below it, as the backend opens it.
  platform::RegKey openTestKey(platform::RegAccess access, const std::string& below = "") const {
    return platform::regOpenKey(testKeyRoot(), (testKeyPath() + below).c_str(), access);
  }
  // The stored bytes of a value read through key, which this closes; "<fail>" when unread.
  static std::string readValue(platform::RegKey key, const char* name) {
    char buffer[64];
    uint32_t size = sizeof buffer;
    const bool ok = key != nullptr && platform::regQueryValue(key, name, nullptr, buffer, &size);
    platform::regCloseKey(key);
    return ok ? std::string(buffer, size) : "<fail>";
  }

  TempDir dir_;
};

}  // namespace orvia::testing
