// Every step of each writer failed in turn, over the store double (its Nth call) and the
// heaps (their Nth allocation): the writer gives 0, both indexes stay ordered, the
// user-entry files keep every block on at most one chain, nothing else is lost, and only
// the partial states the writers allow are left behind.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>

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

 public:
  // A fresh dictionary of its own for each failure, with a note and a record of the
  // user's that every failure must leave alone.
  HDICT* freshDictionary() {
    const uint32_t id = kDictId + (++made_ << 16);
    HDICT* dict = makeDictionary(id);
    EXPECT_EQ(dicAddMem(word("banana", dict), "kept note", 0), 1);
    EXPECT_EQ(dicAddRecord(dict, "fig", 0, "kept record", 0), 1);
    return dict;
  }
  void expectKept(HDICT* dict) {
    EXPECT_EQ(note("banana", dict), "kept note");
    EXPECT_EQ(recordText("fig", dict), "kept record");
  }
  // What the writers change: the note on "date", whether "kiwi" is in the dictionary,
  // whether it is filed in the record companion, and then its text.
  std::string state(HDICT* dict) {
    const auto all = entries(dict::recordDictId(dict->dictId));
    const bool filed = std::any_of(all.begin(), all.end(),
                                   [](const std::string& r) { return keyOf(r) == "kiwi"; });
    return note("date", dict) + (dicIsExistWord(dict, "kiwi") != 0 ? "|kiwi" : "|-") +
           (filed ? "|filed|" + recordText("kiwi", dict) : "|-|");
  }

  uint32_t made_ = 0;
};

// What a writer works on, found before any failure is armed: the word "date" and the
// record number of "kiwi" (when there is one).
struct Target {
  HDICT* dict;
  HWORD* date;
  uint32_t kiwi;
};

// One writer: the note and the record on "date" and "kiwi" before the call (null for
// none), the call, the state it leaves when it succeeds, the state a failure of its second
// insert or delete leaves (the one between the two), and the entry whose blocks a failure
// of its first delete leaves freed while its index record stays ("" when none).
struct Writer {
  const char* name;
  const char *note, *record;
  std::function<int32_t(const Target&)> call;
  std::string done, between, freed;
};

const std::string kLongNote(600, 'd');

const Writer kWriters[] = {
    {"dicAddMem", nullptr, nullptr,
     [](const Target& t) { return dicAddMem(t.date, kLongNote.c_str(), 0); }, kLongNote + "|-|-|",
     "", ""},
    {"dicAddMem replacing", "old", nullptr,
     [](const Target& t) { return dicAddMem(t.date, kLongNote.c_str(), 0); }, kLongNote + "|-|-|",
     "", ""},
    {"dicDelMem", "doomed", nullptr, [](const Target& t) { return dicDelMem(t.date); }, "|-|-|", "",
     "entry date"},
    {"dicAddRecord", nullptr, nullptr,
     [](const Target& t) { return dicAddRecord(t.dict, "kiwi", 0, "new record", 0); },
     "|kiwi|filed|new record", "|-|filed|", ""},
    {"dicDelRecord", nullptr, "doomed",
     [](const Target& t) { return dicDelRecord(t.dict, t.kiwi); }, "|-|-|", "|kiwi|-|",
     "entry kiwi"},
};

// Fails the Nth store call (or heap allocation) of each writer, for N = 1, 2, ... until
// the failure no longer strikes.
void sweep(EditFailures& t, bool store) {
  auto& called = StoreDouble::instance().calledOperations;
  for (const Writer& writer : kWriters) {
    for (uint32_t n = 1;; ++n) {
      SCOPED_TRACE(std::string(writer.name) + (store ? ", store call " : ", allocation ") +
                   std::to_string(n));
      HDICT* dict = t.freshDictionary();
      EXPECT_TRUE(!writer.note || dicAddMem(t.word("date", dict), writer.note, 0) == 1);
      EXPECT_TRUE(!writer.record || dicAddRecord(dict, "kiwi", 0, writer.record, 0) == 1);
      const Target target{dict, t.word("date", dict),
                          writer.record ? t.recordNumber("kiwi", dict) : 0};
      const std::string before = t.state(dict);
      called.clear();
      if (store) StoreDouble::instance().failCall = n;
      if (!store) injectAllocationFailure(n);
      const int32_t result = writer.call(target);
      StoreDouble::instance().failCall = 0;
      injectAllocationFailure(0);
      const bool struck = store ? called.size() >= n : result != 1;
      const std::string step = result == 1 ? "" : store ? called.at(n - 1) : "allocation";
      const auto earlier = std::count(called.begin(), called.begin() + (store ? n - 1 : 0), step);
      const std::string problems = t.consistency(dict->dictId);
      // A failed look-up of whether the word is there already reads as "not there".
      ASSERT_TRUE(result == 1 || struck);
      const bool second = (step == "dbInsert" || step == "dbDelete") && earlier == 1;
      EXPECT_EQ(t.state(dict), result == 1 ? writer.done : second ? writer.between : before);
      if (step == "dbDelete" && earlier == 0)
        EXPECT_NE(problems.find(writer.freed + " and the free list"), std::string::npos);
      else
        EXPECT_EQ(problems, "");
      t.expectKept(dict);
      if (!struck) break;
      ASSERT_LT(n, 200u) << "never succeeds";
    }
  }
}

TEST_F(EditFailures, EveryStoreCallOfEveryWriterFailsInTurn) {
  sweep(*this, true);
}

TEST_F(EditFailures, EveryAllocationOfEveryWriterFailsInTurn) {
  sweep(*this, false);
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
