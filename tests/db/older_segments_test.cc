// Segment files of older generations go at every compaction and at every writer's open,
// whichever handle still reads them and whichever removal failed before.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/file.h"
#include "support/store_fixture.h"
#include "support/store_records.h"
#include "support/temp_dir.h"

namespace orvia::db {
namespace {

using namespace orvia::testing;

TEST(OlderSegments, NoneRemainOnceTheirReadersClose) {
  TempDir dir;
  std::string path = dir.file("00000001.IDX");
  ASSERT_EQ(dbCreate(path.c_str()), 1);
  DBHANDLE writer = dbOpen(path.c_str(), foldCompare);
  DBHANDLE reader = dbOpen(path.c_str(), foldCompare);
  ASSERT_NE(writer, nullptr);
  ASSERT_NE(reader, nullptr);
  for (const char* word : {"one", "two"}) {
    ASSERT_TRUE(insertArea(writer, area(word), 2));
    ASSERT_EQ(dbCompact(writer), 1);
    EXPECT_EQ(recordCount(reader), recordCount(writer)) << "the reader moves to " << word;
  }
  // What a removal that failed, as on Windows while another program holds the file, left.
  ASSERT_TRUE(writeFileBytes(path + ".00000001", "older"));
  ASSERT_TRUE(writeFileBytes(path + ".00000009.tmp", "another writer's"));
  EXPECT_EQ(dbClose(reader), 1);
  EXPECT_EQ(dbClose(writer), 1);

  DBHANDLE again = dbOpen(path.c_str(), foldCompare);
  ASSERT_NE(again, nullptr);
  std::vector<std::string> ends;
  ASSERT_TRUE(platform::listFileNameEnds((path + ".").c_str(), &ends));
  std::sort(ends.begin(), ends.end());
  EXPECT_EQ(ends, (std::vector<std::string>{"00000003", "00000009.tmp"}));
  EXPECT_EQ(recordCount(again), 2u);
  EXPECT_EQ(dbClose(again), 1);
}

}  // namespace
}  // namespace orvia::db
