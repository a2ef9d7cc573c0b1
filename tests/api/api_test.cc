// The exported functions as a client sees them, through the shared library and the
// real record store. Opening and its failures are tested through the record store double
// (tests/dict), and the version through orviadic version (tests/tools).
#include <gtest/gtest.h>

#include "orviadb.h"
#include "support/dictionary_fixtures.h"

namespace {

using Exports = orvia::testing::ExportsFixture;

TEST_F(Exports, SetRegKeyComparesRootsByTheirLow32Bits) {
  orvia::testing::writeFileBytes(dir_.file("HKEY_CURRENT_USER.reg"),
                                 "Windows Registry Editor Version 5.00\r\n\r\n"
                                 "[HKEY_CURRENT_USER\\Dict]\r\n\"PATH\"=\"" +
                                     dir_.path() + "\"\r\n");
  ASSERT_EQ(dbCreate(dir_.file("00010101.IDX").c_str()), 1);
  // A sign-extended handle, as 64-bit Windows defines the predefined roots.
  void* currentUser = reinterpret_cast<void*>(uintptr_t(int64_t(int32_t(0x80000001u))));
  ASSERT_EQ(dicSetRegKey(currentUser, "Dict"), 1);
  HDICT* dict = dicCreateHDICT(0x00010101);
  ASSERT_NE(dict, nullptr);
  EXPECT_EQ(dicFreeHDICT(dict), 1);
  EXPECT_EQ(dicSetRegKey(currentUser, nullptr), 0);
}

}  // namespace
