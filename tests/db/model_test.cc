// Thousands of random operations on one index, each checked against a sorted vector
// with the same comparison: inserts, deletes, seeks, gotos, steps, batch reads,
// compactions and reopenings.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "lang/single_byte.h"
#include "support/store_access.h"
#include "support/temp_dir.h"

namespace orvia::db {
namespace {

using testing::Model;

struct ModelCase {
  const char* name;
  DbCompareFn compare;
  uint64_t compactMinLogBytes;  // small values compact every few dozen writes
  uint32_t seed;
};

class ModelTest : public ::testing::TestWithParam<ModelCase> {
 protected:
  void SetUp() override {
    ASSERT_EQ(dbCreate(path_.c_str()), 1);
    reopen();
  }

  void reopen() {
    ASSERT_TRUE(!db_ || db_->close());
    OpenOptions options;
    options.compactMinLogBytes = GetParam().compactMinLogBytes;
    db_ = Database::open(path_, GetParam().compare, options);
    ASSERT_TRUE(db_);
    cursor_ = 0;
  }

  void checkCurrent() {
    ASSERT_EQ(DatabaseTestAccess::cursor(*db_), cursor_);
    uint8_t buffer[kDbMaxRecordSize];
    uint32_t size = sizeof buffer;
    bool ok = db_->getRecord(&size, buffer);
    ASSERT_EQ(ok ? std::string(reinterpret_cast<char*>(buffer), size) : "none",
              model_.size() > 0 ? model_.recordBytes(cursor_) : "none");
  }

  // A batch read copies whole records or none, and never writes past the capacity.
  void checkSearch(std::mt19937& rng) {
    uint32_t first = rng() % (model_.size() + 3), count = rng() % 12;
    uint32_t capacity = rng() % 2 ? rng() % 300 : 100000;
    std::string expected;
    for (uint32_t i = first; i < model_.size() && i < uint64_t(first) + count; ++i)
      expected += model_.recordBytes(i);
    std::vector<uint8_t> buffer(capacity + 16, 0xAB);
    uint32_t size = capacity;
    bool ok = db_->search(first, count, &size, buffer.data());
    ASSERT_EQ(ok, expected.size() <= capacity);
    ASSERT_EQ(size, expected.size());
    ASSERT_TRUE(!ok || std::memcmp(buffer.data(), expected.data(), expected.size()) == 0);
    for (size_t i = capacity; i < buffer.size(); ++i) ASSERT_EQ(buffer[i], 0xAB);
  }

  orvia::testing::TempDir dir_;
  std::string path_ = dir_.file("00000001.IDX");
  std::unique_ptr<Database> db_;
  Model model_{GetParam().compare};
  uint32_t cursor_ = 0;
};

// The cursor stays on its record through an insert or a delete elsewhere; a deleted
// record's place goes to the one behind it, or the new last record.
TEST_P(ModelTest, RandomOperationsMatchTheSortedVector) {
  std::mt19937 rng(GetParam().seed);
  for (int step = 0; step < 4000; ++step) {
    SCOPED_TRACE("step " + std::to_string(step));
    uint32_t pick = rng() % 100, size = model_.size();
    if (pick < 40) {
      testing::ModelRecord record = testing::randomRecord(rng);
      ASSERT_TRUE(db_->insert(newRecordOf(record)));
      if (model_.insert(record) <= cursor_ && model_.size() > 1) ++cursor_;
    } else if (pick < 55 && size > 0) {
      uint32_t n = rng() % size;
      ASSERT_TRUE(db_->erase(n));
      model_.erase(n);
      if (n < cursor_) --cursor_;
      cursor_ = std::min(cursor_, model_.size() == 0 ? 0 : model_.size() - 1);
    } else if (pick < 65) {
      std::string key = testing::area(testing::randomKey(rng));
      ASSERT_EQ(db_->seek(key.c_str()), size > 0);
      if (size > 0) cursor_ = std::min(model_.lowerBound(key), size - 1);
    } else if (pick < 72) {
      uint32_t n = rng() % (size + 2);
      ASSERT_EQ(db_->gotoRecord(n), n < size);
      if (n < size) cursor_ = n;
    } else if (pick < 80) {
      bool can = cursor_ + 1 < size;
      ASSERT_EQ(db_->next(), can);
      cursor_ += can;
    } else if (pick < 87) {
      bool can = cursor_ > 0 && cursor_ < size;
      ASSERT_EQ(db_->prev(), can);
      cursor_ -= can;
    } else if (pick < 95) {
      ASSERT_NO_FATAL_FAILURE(checkSearch(rng));
    } else if (pick < 97) {
      ASSERT_TRUE(db_->compact());
    } else {
      ASSERT_NO_FATAL_FAILURE(reopen());
    }
    ASSERT_NO_FATAL_FAILURE(checkCurrent());
  }
  ASSERT_NO_FATAL_FAILURE(reopen());
  uint32_t count = 0;
  ASSERT_TRUE(db_->recordCount(&count));
  ASSERT_EQ(count, model_.size());
  for (cursor_ = 0; cursor_ < count; ++cursor_) {
    ASSERT_TRUE(db_->gotoRecord(cursor_));
    ASSERT_NO_FATAL_FAILURE(checkCurrent());
  }
  EXPECT_EQ(testing::verifyReport(path_, GetParam().compare), "");
}

const ModelCase kCases[] = {
    {"FoldedLogOnly", testing::foldCompare, uint64_t(1) << 40, 1},
    {"FoldedCompactingOften", testing::foldCompare, 2048, 2},
    {"FoldedDefault", testing::foldCompare, OpenOptions().compactMinLogBytes, 3},
    {"EnglishCompareKeys", orvia::lang::single_byte::compareKeys, 4096, 4},
};

INSTANTIATE_TEST_SUITE_P(Cases, ModelTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace orvia::db
