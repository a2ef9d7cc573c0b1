// The file seam's contract, run against the POSIX backend here and against the Win32 one
// under Wine (tests/windows): both must give the callers the same answers.
#include "platform/file.h"

#include <gtest/gtest.h>

#include <string>

#include "support/temp_dir.h"

namespace orvia::platform {
namespace {

TEST(FileTest, SharedFilesReadWriteTruncateAndFind) {
  testing::TempDir dir;
  const std::string path = dir.file("00010203.DAT");
  const std::string missing = dir.file("missing.DAT");
  std::unique_ptr<File> writer = openFile(path.c_str(), FileMode::kCreateTruncate);
  ASSERT_NE(writer, nullptr);
  std::unique_ptr<File> reader = openFile(path.c_str(), FileMode::kRead);
  ASSERT_NE(reader, nullptr) << "read and write sharing";
  ASSERT_TRUE(writer->writeAt(0, "0123456789", 10));
  ASSERT_TRUE(writer->writeAt(2, "ab", 2));
  char bytes[8] = {};
  size_t got = 0;
  ASSERT_TRUE(reader->readAt(1, bytes, 3, &got));
  EXPECT_EQ(std::string(bytes, got), "1ab") << "each call reads at its own offset";
  ASSERT_TRUE(reader->readAt(6, bytes, 8, &got));
  EXPECT_EQ(std::string(bytes, got), "6789") << "a short read at the end";
  ASSERT_TRUE(writer->truncate(4));
  uint64_t size = 0;
  ASSERT_TRUE(reader->size(&size));
  EXPECT_EQ(size, 4u);
  ASSERT_TRUE(reader->readAt(6, bytes, 8, &got));
  EXPECT_EQ(got, 0u) << "past the end";
  EXPECT_FALSE(reader->writeAt(0, "x", 1)) << "opened for reading";

  EXPECT_TRUE(fileExists(path.c_str()));
  EXPECT_FALSE(fileExists(missing.c_str()));
  EXPECT_FALSE(fileExists(nullptr));
  EXPECT_EQ(openFile(missing.c_str(), FileMode::kRead), nullptr);
  EXPECT_EQ(openFile(missing.c_str(), FileMode::kReadWrite), nullptr);
  EXPECT_EQ(openFile(nullptr, FileMode::kCreateTruncate), nullptr);
  EXPECT_EQ(openFile(path.c_str(), FileMode::kCreateNew), nullptr) << "the file exists";
  EXPECT_EQ(openFile(dir.path().c_str(), FileMode::kRead), nullptr) << "a directory";
}

}  // namespace
}  // namespace orvia::platform
