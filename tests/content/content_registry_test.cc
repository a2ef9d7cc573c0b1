// A continuation through a file-index entry that names a dictionary id and a file name,
// resolved through the configured registry's "Path" values.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "content/content_record.h"
#include "content_test_util.h"
#include "dict/config.h"

namespace orvia::content {
namespace {

using test::bytesOf;
using test::record;

TEST(ContentRegistryTest, DictionaryIdEntryResolvesThroughTheRegistry) {
  test::TempDir dir;
  setenv("ORVIADIC_REGISTRY_DIR", dir.file("").c_str(), 1);
  std::ofstream(dir.file("HKEY_LOCAL_MACHINE.reg"))
      << "Windows Registry Editor Version 5.00\r\n\r\n"
      << "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Caldmore\\Orvia\\Tolvane\\Dict]\r\n"
      << "\"00010203Path\"=\"" << dir.file("data") << "\"\r\n";
  ASSERT_TRUE(dict::moduleLoad(nullptr));

  test::DataFileBuilder further;
  uint32_t there = further.add(record(0, 0xFFFFFFFF, bytesOf(" continued")));
  std::filesystem::create_directory(dir.file("data"));
  further.write(dir.file("data/X0102031.DAT"));
  test::DataFileBuilder main;
  main.setEntryCount(1);
  main.setIdEntry(0, 0x00010203, "X0102031.DAT");
  uint32_t at = main.add(record(0, there, bytesOf("entry")));
  main.write(dir.file("00010203.DAT"));

  FileHandle file = openFileRead(dir.file("00010203.DAT").c_str());
  char out[32];
  uint32_t length = 0, size = 0;
  EXPECT_TRUE(contentTextAt(file, at, out, sizeof out, &length).ok());
  EXPECT_EQ(length, 15u);
  EXPECT_STREQ(out, "entry continued");
  EXPECT_TRUE(contentSizeAt(file, at, &size).ok());
  EXPECT_EQ(size, 15u);
  closeFile(file);
  dict::moduleUnload();
  unsetenv("ORVIADIC_REGISTRY_DIR");
}

}  // namespace
}  // namespace orvia::content
