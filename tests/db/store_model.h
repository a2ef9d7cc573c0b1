// A test with an empty index in a fresh folder and a handle open on it; and random
// operations on an index, each applied to a sorted vector with the same comparison and,
// while a handle is open, to the store, which must answer as the vector predicts:
// equal keys newest first, a seek on the lower bound or else the last record, and the
// cursor on its record through inserts and deletes elsewhere (a deleted record's place
// goes to the one behind it, or to the new last record).
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "db/database.h"
#include "support/store_records.h"
#include "support/temp_dir.h"

namespace orvia::testing {

class OpenIndexTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(dbCreate(path_.c_str()), 1);
    reopen();
  }
  void TearDown() override { EXPECT_TRUE(h_ == nullptr || dbClose(h_) == 1); }
  // Closes the handle, if there is one, and opens a new one.
  void reopen() {
    ASSERT_TRUE(h_ == nullptr || dbClose(h_) == 1);
    h_ = dbOpen(path_.c_str(), foldCompare);
    ASSERT_NE(h_, nullptr);
  }

  TempDir dir_;
  std::string path_ = dir_.file("00000001.IDX");
  DBHANDLE h_ = nullptr;
};

}  // namespace orvia::testing

namespace orvia::db {

struct DatabaseTestAccess {
  // Where the handle's cursor is: on a record when below the count.
  static uint32_t cursor(const Database& db) { return db.cursor_; }
};

inline NewRecord newRecordOf(const testing::StoredRecord& r) {
  return NewRecord{reinterpret_cast<const uint8_t*>(testing::kContentName), r.contentDictId,
                   r.contentRef, reinterpret_cast<const uint8_t*>(r.data.data()),
                   uint32_t(r.data.size())};
}

class StoreModel {
 public:
  explicit StoreModel(DbCompareFn compare) : compare_(compare) {}

  // Opens a handle on path, closing the one open before, for the steps that follow.
  void open(const std::string& path, const OpenOptions& options) {
    ASSERT_TRUE(!db_ || db_->close());
    db_ = Database::open(path, compare_, options);
    ASSERT_TRUE(db_);
    path_ = path;
    options_ = options;
    cursor_ = 0;
  }

  // Takes the records of the index at path as the model's, for a process that goes on
  // from where another left it.
  void load(const std::string& path) {
    DBHANDLE h = dbOpen(path.c_str(), compare_);
    for (const std::string& r : testing::allRecords(h))
      records_.push_back(
          {loadU32Le(reinterpret_cast<const uint8_t*>(&r[4])), testing::refOf(r), r.substr(16)});
    ASSERT_EQ(dbClose(h), 1);
  }

  // Draws one operation from rng and applies it. Without a handle only the vector changes,
  // which replays what a handle did with the same draws from the same state.
  void step(std::mt19937& rng) {
    const uint32_t pick = rng() % 100, size = count();
    std::function<bool(Database&)> call;  // what the store is asked, answering `want`
    bool want = true;
    if (pick < 40) {
      testing::StoredRecord record = testing::randomRecord(rng);
      uint32_t at = lowerBound(record.data);
      records_.insert(records_.begin() + at, record);
      cursor_ += at <= cursor_ && size > 0;
      call = [record](Database& db) { return db.insert(newRecordOf(record)); };
    } else if (pick < 55 && size > 0) {
      uint32_t n = rng() % size;
      records_.erase(records_.begin() + n);
      cursor_ = std::min(cursor_ - (n < cursor_), std::max(size - 1, 1u) - 1);
      call = [n](Database& db) { return db.erase(n); };
    } else if (pick < 65) {
      std::string key = testing::area(testing::randomKey(rng));
      if ((want = size > 0)) cursor_ = std::min(lowerBound(key), size - 1);
      call = [key](Database& db) { return db.seek(key.c_str()); };
    } else if (pick < 72) {
      uint32_t n = rng() % (size + 2);
      if ((want = n < size)) cursor_ = n;
      call = [n](Database& db) { return db.gotoRecord(n); };
    } else if (pick < 87) {
      bool forward = pick < 80;
      want = forward ? cursor_ + 1 < size : cursor_ > 0;
      cursor_ = forward ? cursor_ + want : cursor_ - want;
      call = [forward](Database& db) { return forward ? db.next() : db.prev(); };
    } else if (pick < 95) {
      ASSERT_NO_FATAL_FAILURE(checkSearch(rng));
    } else if (pick < 97) {
      call = [](Database& db) { return db.compact(); };
    } else if (db_) {
      ASSERT_NO_FATAL_FAILURE(open(path_, options_));
    }
    if (!db_) return;
    ASSERT_TRUE(!call || call(*db_) == want);
    ASSERT_NO_FATAL_FAILURE(checkCurrent());
  }

  // Every record, as the store returns it.
  std::vector<std::string> records() const {
    std::vector<std::string> out;
    for (uint32_t i = 0; i < count(); ++i) out.push_back(testing::storedRecord(records_[i], i));
    return out;
  }

 private:
  uint32_t count() const { return uint32_t(records_.size()); }

  uint32_t lowerBound(const std::string& key) const {
    return uint32_t(std::lower_bound(records_.begin(), records_.end(), key,
                                     [&](const testing::StoredRecord& r, const std::string& k) {
                                       return compare_(r.data.c_str(), k.c_str()) < 0;
                                     }) -
                    records_.begin());
  }

  void checkCurrent() {
    ASSERT_EQ(DatabaseTestAccess::cursor(*db_), cursor_);
    uint8_t buffer[kDbMaxRecordSize];
    uint32_t size = sizeof buffer;
    bool ok = db_->getRecord(&size, buffer);
    ASSERT_EQ(ok ? std::string(reinterpret_cast<char*>(buffer), size) : "none",
              count() > 0 ? testing::storedRecord(records_[cursor_], cursor_) : "none");
  }

  // A batch read copies whole records or none and writes nothing past them; the capacity
  // is often the exact size needed or a byte short.
  void checkSearch(std::mt19937& rng) {
    uint32_t first = rng() % (count() + 3), number = rng() % 12, fit = rng() % 4;
    std::string expected;
    for (uint32_t i = first; i < count() && i < uint64_t(first) + number; ++i)
      expected += testing::storedRecord(records_[i], i);
    uint32_t capacity = fit == 0   ? 100000
                        : fit == 1 ? rng() % 300
                                   : uint32_t(std::max<size_t>(expected.size(), 1) + fit - 3);
    if (!db_) return;
    std::string buffer(capacity + 16, char(0xAB));
    uint32_t size = capacity;
    bool ok = db_->search(first, number, &size, reinterpret_cast<uint8_t*>(buffer.data()));
    ASSERT_EQ(ok, expected.size() <= capacity);
    ASSERT_EQ(size, expected.size());
    std::string want = ok ? expected : "";
    want.resize(buffer.size(), char(0xAB));
    ASSERT_TRUE(buffer == want) << "bytes copied";
  }

  DbCompareFn compare_;
  std::vector<testing::StoredRecord> records_;
  uint32_t cursor_ = 0;
  std::unique_ptr<Database> db_;
  std::string path_;
  OpenOptions options_;
};

}  // namespace orvia::db
