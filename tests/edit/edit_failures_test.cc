// Every step of each writer failed in turn, over the store double (its Nth call) and the
// heaps (their Nth allocation): the writer gives 0, both indexes stay ordered, the
// user-entry files keep every block on at most one chain, nothing else is lost, and only
// the partial states the writers allow are left behind.
#include <algorithm>

#include "support/heap_failures.h"
#include "user_edit_fixture.h"

namespace orvia::testing {
namespace {

class EditFailures : public UserEditFixture {
 protected:
  void SetUp() override {
    StoreDouble::instance().reset();
    UserEditFixture::SetUp();
  }
  void TearDown() override {
    UserEditFixture::TearDown();
    StoreDouble::instance().reset();
  }
  void arm() override {
    StoreDouble::instance().calledOperations.clear();
    StoreDouble::instance().failCall = store_ ? failing_ : 0;
    injectAllocationFailure(store_ ? 0 : failing_);
  }
  void disarm() override {
    StoreDouble::instance().failCall = 0;
    injectAllocationFailure(0);
  }
  // The state of writer_failures.txt.
  std::string state() {
    const bool filed = (" " + keys("rec")).find(" kiwi@") != std::string::npos;
    return note("date") + (dicIsExistWord(dict_, "kiwi") != 0 ? "|kiwi" : "|-") +
           (filed ? "|filed|" + recordText("kiwi") : "|-|");
  }

  // Fails the Nth store call (or heap allocation) of each writer, for N = 1, 2, ... until
  // the failure no longer strikes, each time on a fresh dictionary with a note and a
  // record of the user's that no failure may touch.
  void sweep(bool store) {
    store_ = store;
    const auto& called = StoreDouble::instance().calledOperations;
    std::vector<CaseRow> setUp;
    for (const CaseRow& c : caseTable("edit/writer_failures.txt")) {
      if (c.fields.size() < 8) setUp.push_back(c);
      for (uint32_t n = 1; c.fields.size() == 8; ++n) {
        SCOPED_TRACE(c.fields[0] + (store ? ", store call " : ", allocation ") + std::to_string(n));
        fresh();
        ASSERT_EQ(dicAddMem(word("banana"), "kept note", 0), 1);
        ASSERT_EQ(dicAddRecord(dict_, "fig", 0, "kept record", 0), 1);
        for (const CaseRow& s : setUp) expectRow(s);
        const std::string before = state();
        failing_ = n;
        const bool succeeded = run(c) == "1";
        failing_ = 0;
        // A failed look-up of whether the word is there already reads as "not there".
        const bool struck = store ? called.size() >= n : !succeeded;
        ASSERT_TRUE(succeeded || struck);
        const std::string step = succeeded ? "" : store ? called.at(n - 1) : "allocation";
        const auto earlier = std::count(called.begin(), called.begin() + (store ? n - 1 : 0), step);
        const bool second = (step == "dbInsert" || step == "dbDelete") && earlier == 1;
        EXPECT_EQ(state(), succeeded ? *c.bytes(5) : second ? *c.bytes(6) : before);
        const std::string problems = consistency(dict_->dictId);
        if (step == "dbDelete" && earlier == 0)
          EXPECT_NE(problems.find(c.fields[7] + " and the free list"), std::string::npos);
        else
          EXPECT_EQ(problems, "");
        EXPECT_EQ(note("banana") + recordText("fig"), "kept notekept record");
        if (!struck) break;
        ASSERT_LT(n, 200u) << "never succeeds";
      }
      if (c.fields.size() == 8) setUp.clear();
    }
  }

  bool store_ = false;
  uint32_t failing_ = 0;
};

TEST_F(EditFailures, EveryStoreCallOfEveryWriterFailsInTurn) {
  sweep(true);
}

TEST_F(EditFailures, EveryAllocationOfEveryWriterFailsInTurn) {
  sweep(false);
}

}  // namespace
}  // namespace orvia::testing
