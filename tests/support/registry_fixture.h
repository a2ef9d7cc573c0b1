// Gives one test a registry key of its own, set by hand.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "support/temp_dir.h"
#include "support/test_registry.h"

namespace orvia::testing {

class RegistryFixture : public ::testing::Test {
 protected:
  void SetUp() override { enterTestRegistry(dir_.path()); }
  void TearDown() override { leaveTestRegistry(); }

  // The test's key holding exactly the given value lines.
  void writeDictKey(const std::string& valueLines) const { EXPECT_TRUE(writeTestKey(valueLines)); }

  TempDir dir_;
};

}  // namespace orvia::testing
