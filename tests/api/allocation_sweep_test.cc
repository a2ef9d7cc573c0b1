// Every export that allocates, with its 1st, 2nd, ... allocation failing in turn until the
// call no longer meets the failure: each failed call gives the failure value and leaves
// the caller's buffer at its empty value; readers change no file, and writers leave the
// dictionary's own words readable. Leaks show under the sanitizers' build.
#include "bad_input_fixture.h"
#include "support/heap_failures.h"

namespace orvia::testing {
namespace {

class AllocationSweep : public BadInputFixture {
 protected:
  // A new-word target and a file of new words for it (tests/data/update/merge_made).
  void SetUp() override {
    BadInputFixture::SetUp();
    for (const char* kept : {"target-01010101", "01010101-1-apple_0"})
      std::filesystem::copy(dataPath(std::string("update/merge_made/") + kept), dir_.path());
  }
};

// tests/data/api/allocation_sweeps.txt: the columns of bad_input.txt, then how the buffer
// a failed call leaves begins ("-": no buffer) and whether the export reads or writes.
TEST_F(AllocationSweep, EveryAllocationOfEveryExportFailsInTurn) {
  for (const CaseRow& c : caseTable("api/allocation_sweeps.txt")) {
    const Export& fn = exportsByName().at(c.fields.at(0));
    const bool reader = c.fields.at(5) == "reader";
    const auto start = dir_.files();
    bool struck = true;
    for (uint32_t n = 1; struck; ++n) {
      SCOPED_TRACE(c.line + ", allocation " + std::to_string(n));
      ASSERT_LT(n, 500u) << "never succeeds";
      if (!reader) {  // the folder's files put back, the dictionaries closed meanwhile
        for (HDICT*& dict : dicts_) ASSERT_EQ(dicFreeHDICT(dict), 1);
        for (const auto& [name, bytes] : start) ASSERT_TRUE(writeFileBytes(dir_.file(name), bytes));
        for (uint32_t i = 0; i < dicts_.size(); ++i)
          ASSERT_NE(dicts_[i] = dicCreateHDICT(i == 0 ? kOwnDict : kOtherDict), nullptr);
      }
      const Outcome outcome = call(
          [&](const Args& a) {
            injectAllocationFailure(n);
            const uint64_t result = fn(a);
            struck = injectedAllocationFailed();
            injectAllocationFailure(0);
            return result;
          },
          c);
      if (outcome.result == uint64_t(c.number(3))) continue;  // a fallback, or not struck
      EXPECT_TRUE(struck);
      EXPECT_EQ(outcome.result, 0u);
      if (c.fields.at(4) != "-") {
        EXPECT_EQ(outcome.bytes.substr(0, c.bytes(4)->size()), *c.bytes(4));
      }
      if (reader) {
        EXPECT_TRUE(dir_.files() == start) << "a file changed";
      }
      HWORD* bank = dicSearchWord(dicts_[0], "bank");  // the dictionary's own word reads whole
      EXPECT_EQ(dicGetContentSize(bank, kOwnDict), 37u);
      dicFreeHWORD(bank);
    }
  }
}

}  // namespace
}  // namespace orvia::testing
