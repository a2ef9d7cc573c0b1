// Points the registry at a private folder for one test and writes hives by hand.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "support/temp_dir.h"

namespace orvia::testing {

class RegistryFixture : public ::testing::Test {
 protected:
  void SetUp() override { setenv("ORVIADIC_REGISTRY_DIR", dir_.path().c_str(), 1); }
  void TearDown() override { unsetenv("ORVIADIC_REGISTRY_DIR"); }

  std::string hivePath() const { return dir_.file("HKEY_LOCAL_MACHINE.reg"); }
  void writeHive(const std::string& text) const { writeFileBytes(hivePath(), text); }
  std::string hiveText() const { return readFileBytes(hivePath()); }

  // A hive with the library's default key holding the given value lines.
  void writeDictKey(const std::string& valueLines) const {
    writeHive(
        "Windows Registry Editor Version 5.00\r\n\r\n"
        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Caldmore\\Orvia\\Tolvane\\Dict]\r\n" +
        valueLines);
  }

  TempDir dir_;
};

}  // namespace orvia::testing
