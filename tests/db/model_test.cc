// Thousands of random operations on one index, each checked against a sorted vector
// with the same comparison: inserts, deletes, seeks, gotos, steps, batch reads,
// compactions and reopenings.
#include <gtest/gtest.h>

#include "lang/single_byte.h"
#include "store_model.h"
#include "support/temp_dir.h"

namespace orvia::db {
namespace {

struct ModelCase {
  const char* name;
  DbCompareFn compare;
  uint64_t compactMinLogBytes;  // small values compact every few dozen writes
  uint32_t seed;
};

class ModelTest : public ::testing::TestWithParam<ModelCase> {};

TEST_P(ModelTest, RandomOperationsMatchTheSortedVector) {
  testing::TempDir dir;
  const std::string path = dir.file("00000001.IDX");
  ASSERT_EQ(dbCreate(path.c_str()), 1);
  OpenOptions options;
  options.compactMinLogBytes = GetParam().compactMinLogBytes;
  StoreModel model(GetParam().compare);
  ASSERT_NO_FATAL_FAILURE(model.open(path, options));
  std::mt19937 rng(GetParam().seed);
  for (int step = 0; step < 4000; ++step) {
    SCOPED_TRACE("step " + std::to_string(step));
    ASSERT_NO_FATAL_FAILURE(model.step(rng));
  }
  ASSERT_NO_FATAL_FAILURE(model.open(path, options));  // a close makes the writes durable
  DBHANDLE h = dbOpen(path.c_str(), GetParam().compare);
  EXPECT_EQ(testing::allRecords(h), model.records()) << "read back by another handle";
  EXPECT_EQ(dbClose(h), 1);
  EXPECT_EQ(testing::verifyReport(path, GetParam().compare), "");
}

const ModelCase kCases[] = {
    {"FoldedLogOnly", testing::foldCompare, uint64_t(1) << 40, 1},
    {"FoldedCompactingOften", testing::foldCompare, 2048, 2},
    {"EnglishCompareKeys", orvia::lang::single_byte::compareKeys, 4096, 4},
};

INSTANTIATE_TEST_SUITE_P(Cases, ModelTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace orvia::db
