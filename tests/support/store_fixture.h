// A test with an empty index in a fresh folder and a handle open on it.
#pragma once

#include <gtest/gtest.h>

#include <string>

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
