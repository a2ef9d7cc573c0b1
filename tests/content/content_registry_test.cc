// A continuation through a file-index entry that names a dictionary id and a file name,
// resolved through the configured registry's "Path" values.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "content/content_record.h"
#include "dict/config.h"
#include "support/content_files.h"
#include "support/temp_dir.h"

namespace orvia::content {
namespace {

using orvia::testing::goldenDataFile;

TEST(ContentRegistryTest, DictionaryIdEntryResolvesThroughTheRegistry) {
  orvia::testing::TempDir dir;
  setenv("ORVIADIC_REGISTRY_DIR", dir.file("").c_str(), 1);
  orvia::testing::writeFileBytes(
      dir.file("HKEY_LOCAL_MACHINE.reg"),
      "Windows Registry Editor Version 5.00\r\n\r\n"
      "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Caldmore\\Orvia\\Tolvane\\Dict]\r\n\"00010203Path\"=\"" +
          dir.file("data") + "\"\r\n");
  ASSERT_TRUE(dict::moduleLoad(nullptr));
  std::filesystem::create_directory(dir.file("data"));
  // Entry 1 of the file names OTHERXXX.DAT of dictionary 0x00010203.
  orvia::testing::writeFileBytes(dir.file("data/OTHERXXX.DAT"), goldenDataFile("record/other.hex"));
  orvia::testing::writeFileBytes(dir.file("00010203.DAT"), goldenDataFile("record/by_id.hex"));

  FileHandle file = openFileRead(dir.file("00010203.DAT").c_str());
  char out[32];
  uint32_t length = 0, size = 0;
  EXPECT_TRUE(
      contentTextAt(file, orvia::testing::kFirstRecordOffset, out, sizeof out, &length).ok());
  EXPECT_EQ(std::string(out, length + 1), std::string("ABcd") + '\0');
  EXPECT_TRUE(contentSizeAt(file, orvia::testing::kFirstRecordOffset, &size).ok());
  EXPECT_EQ(size, 4u);
  closeFile(file);
  dict::moduleUnload();
  unsetenv("ORVIADIC_REGISTRY_DIR");
}

}  // namespace
}  // namespace orvia::content
