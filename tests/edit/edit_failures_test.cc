// Every step of each writer failed in turn, over the store double (its Nth call) and the
// heaps (their Nth allocation): the writer gives 0, both indexes stay ordered, the
// user-entry files keep every block on at most one chain, nothing else is lost, and only
// the partial states the writers allow are left behind.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "support/heap_failures.h"
#include "user_edit_fixture.h"

namespace orvia::testing {
namespace {

const std::string kLongNote(600, 'd');

// One writer: the note on "date" and the record "kiwi" there before the call (null for
// none), the call on them (kiwi is its record number), the state it leaves when it
// succeeds, the one a failure of its second insert or delete leaves, and the entry whose
// blocks a failure of its first delete leaves freed while its index record stays.
// A state is the note on "date", whether kiwi is in the dictionary, whether it is filed
// in the record companion, and its text.
struct Writer {
  const char *name, *note, *record;
  std::function<int32_t(HDICT*, HWORD* date, uint32_t kiwi)> call;
  std::string done, between, freed;
};

const Writer kWriters[] = {
    {"dicAddMem", nullptr, nullptr,
     [](HDICT*, HWORD* w, uint32_t) { return dicAddMem(w, kLongNote.c_str(), 0); },
     kLongNote + "|-|-|", "", ""},
    {"dicAddMem replacing", "old", nullptr,
     [](HDICT*, HWORD* w, uint32_t) { return dicAddMem(w, kLongNote.c_str(), 0); },
     kLongNote + "|-|-|", "", ""},
    {"dicDelMem", "doomed", nullptr, [](HDICT*, HWORD* w, uint32_t) { return dicDelMem(w); },
     "|-|-|", "", "entry date"},
    {"dicAddRecord", nullptr, nullptr,
     [](HDICT* d, HWORD*, uint32_t) { return dicAddRecord(d, "kiwi", 0, "new record", 0); },
     "|kiwi|filed|new record", "|-|filed|", ""},
    {"dicDelRecord", nullptr, "doomed",
     [](HDICT* d, HWORD*, uint32_t kiwi) { return dicDelRecord(d, kiwi); }, "|-|-|", "|kiwi|-|",
     "entry kiwi"},
};

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
  std::string state(HDICT* dict) {
    const auto all = entries(dict::recordDictId(dict->dictId));
    const bool filed =
        std::any_of(all.begin(), all.end(), [](auto& r) { return keyOf(r) == "kiwi"; });
    return note("date", dict) + (dicIsExistWord(dict, "kiwi") != 0 ? "|kiwi" : "|-") +
           (filed ? "|filed|" + recordText("kiwi", dict) : "|-|");
  }

  // Fails the Nth store call (or heap allocation) of each writer, for N = 1, 2, ... until
  // the failure no longer strikes, each time on a fresh dictionary with a note and a
  // record of the user's that no failure may touch.
  void sweep(bool store) {
    auto& called = StoreDouble::instance().calledOperations;
    for (const Writer& writer : kWriters) {
      for (uint32_t n = 1;; ++n) {
        SCOPED_TRACE(std::string(writer.name) + (store ? ", store call " : ", allocation ") +
                     std::to_string(n));
        HDICT* dict = makeDictionary(kDictId + (++made_ << 16));
        ASSERT_EQ(dicAddMem(word("banana", dict), "kept note", 0), 1);
        ASSERT_EQ(dicAddRecord(dict, "fig", 0, "kept record", 0), 1);
        EXPECT_TRUE(!writer.note || dicAddMem(word("date", dict), writer.note, 0) == 1);
        EXPECT_TRUE(!writer.record || dicAddRecord(dict, "kiwi", 0, writer.record, 0) == 1);
        HWORD* date = word("date", dict);
        const uint32_t kiwi = writer.record ? recordNumber("kiwi", dict) : 0;
        const std::string before = state(dict);
        called.clear();
        StoreDouble::instance().failCall = store ? n : 0;
        injectAllocationFailure(store ? 0 : n);
        const int32_t result = writer.call(dict, date, kiwi);
        StoreDouble::instance().failCall = 0;
        injectAllocationFailure(0);
        // A failed look-up of whether the word is there already reads as "not there".
        const bool struck = store ? called.size() >= n : result != 1;
        ASSERT_TRUE(result == 1 || struck);
        const std::string step = result == 1 ? "" : store ? called.at(n - 1) : "allocation";
        const auto earlier = std::count(called.begin(), called.begin() + (store ? n - 1 : 0), step);
        const bool second = (step == "dbInsert" || step == "dbDelete") && earlier == 1;
        EXPECT_EQ(state(dict), result == 1 ? writer.done : second ? writer.between : before);
        const std::string problems = consistency(dict->dictId);
        if (step == "dbDelete" && earlier == 0)
          EXPECT_NE(problems.find(writer.freed + " and the free list"), std::string::npos);
        else
          EXPECT_EQ(problems, "");
        EXPECT_EQ(note("banana", dict) + recordText("fig", dict), "kept notekept record");
        if (!struck) break;
        ASSERT_LT(n, 200u) << "never succeeds";
      }
    }
  }
  uint32_t made_ = 0;
};

TEST_F(EditFailures, EveryStoreCallOfEveryWriterFailsInTurn) {
  sweep(true);
}

TEST_F(EditFailures, EveryAllocationOfEveryWriterFailsInTurn) {
  sweep(false);
}

TEST_F(EditFailures, AnEmptyMemoryDictionaryIsNotSought) {
  HWORD* date = word("date");
  StoreDouble::instance().calledOperations.clear();
  ASSERT_EQ(dicAddMem(date, "first note", 0), 1);
  const auto& called = StoreDouble::instance().calledOperations;
  EXPECT_EQ(std::count(called.begin(), called.end(), "dbSeek"), 0);
  EXPECT_EQ(std::count(called.begin(), called.end(), "dbInsert"), 1);
}

}  // namespace
}  // namespace orvia::testing
