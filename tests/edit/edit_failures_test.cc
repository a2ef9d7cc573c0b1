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
  bool inRecordCompanion(HDICT* dict, const char* key) const {
    const auto all = entries(dict::recordDictId(dict->dictId));
    return std::any_of(all.begin(), all.end(),
                       [&](const std::string& r) { return keyOf(r) == key; });
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

// One writer: what it needs before the call, the call, what it leaves when it succeeds,
// and what a failure of the step named may leave (the step's name, and how many calls
// of that name came before it).
struct Writer {
  const char* name;
  std::function<void(EditFailures&, HDICT*)> prepare;
  std::function<int32_t(const Target&)> call;
  std::function<bool(EditFailures&, HDICT*)> done;
  std::function<void(EditFailures&, HDICT*, const std::string&, int)> afterFailure;
};

const std::string kLongNote(600, 'd');

const Writer kWriters[] = {
    {"dicAddMem", [](EditFailures&, HDICT*) {},
     [](const Target& t) { return dicAddMem(t.date, kLongNote.c_str(), 0); },
     [](EditFailures& t, HDICT* d) { return t.note("date", d) == kLongNote; },
     [](EditFailures& t, HDICT* d, const std::string&, int) {
       EXPECT_EQ(t.note("date", d), "") << "blocks appended, no index names them";
       EXPECT_EQ(t.consistency(d->dictId), "");
     }},
    {"dicAddMem replacing",
     [](EditFailures& t, HDICT* d) { EXPECT_EQ(dicAddMem(t.word("date", d), "old", 0), 1); },
     [](const Target& t) { return dicAddMem(t.date, kLongNote.c_str(), 0); },
     [](EditFailures& t, HDICT* d) { return t.note("date", d) == kLongNote; },
     [](EditFailures& t, HDICT* d, const std::string&, int) {
       EXPECT_EQ(t.note("date", d), "old");
       EXPECT_EQ(t.consistency(d->dictId), "");
     }},
    {"dicDelMem",
     [](EditFailures& t, HDICT* d) { EXPECT_EQ(dicAddMem(t.word("date", d), "doomed", 0), 1); },
     [](const Target& t) { return dicDelMem(t.date); },
     [](EditFailures& t, HDICT* d) { return t.note("date", d).empty(); },
     [](EditFailures& t, HDICT* d, const std::string& step, int) {
       EXPECT_EQ(t.note("date", d), "doomed");
       // The entry's blocks were freed before its index record could be deleted.
       if (step == "dbDelete")
         EXPECT_NE(t.consistency(d->dictId).find("entry date and the free list"),
                   std::string::npos);
       else
         EXPECT_EQ(t.consistency(d->dictId), "");
     }},
    {"dicAddRecord", [](EditFailures&, HDICT*) {},
     [](const Target& t) { return dicAddRecord(t.dict, "kiwi", 0, "new record", 0); },
     [](EditFailures& t, HDICT* d) { return t.recordText("kiwi", d) == "new record"; },
     [](EditFailures& t, HDICT* d, const std::string& step, int before) {
       EXPECT_EQ(dicIsExistWord(d, "kiwi"), 0);
       const bool secondInsert = step == "dbInsert" && before == 1;
       EXPECT_EQ(t.inRecordCompanion(d, "kiwi"), secondInsert) << "only between the inserts";
       EXPECT_EQ(t.consistency(d->dictId), "");
     }},
    {"dicDelRecord",
     [](EditFailures&, HDICT* d) { EXPECT_EQ(dicAddRecord(d, "kiwi", 0, "doomed", 0), 1); },
     [](const Target& t) { return dicDelRecord(t.dict, t.kiwi); },
     [](EditFailures& t, HDICT* d) {
       return dicIsExistWord(d, "kiwi") == 0 && !t.inRecordCompanion(d, "kiwi");
     },
     [](EditFailures& t, HDICT* d, const std::string& step, int before) {
       EXPECT_EQ(dicIsExistWord(d, "kiwi"), 1) << "the dictionary's entry stays";
       const bool secondDelete = step == "dbDelete" && before == 1;
       EXPECT_EQ(t.inRecordCompanion(d, "kiwi"), !secondDelete);
       if (step == "dbDelete" && before == 0)
         EXPECT_NE(t.consistency(d->dictId).find("entry kiwi and the free list"),
                   std::string::npos);
       else
         EXPECT_EQ(t.consistency(d->dictId), "");
     }},
};

Target targetIn(EditFailures& t, HDICT* dict) {
  return {dict, t.word("date", dict),
          dicIsExistWord(dict, "kiwi") != 0 ? t.recordNumber("kiwi", dict) : 0};
}

// Fails the Nth store call (or heap allocation) of each writer, for N = 1, 2, ... until
// the failure no longer strikes.
void sweep(EditFailures& t, bool store) {
  auto& called = StoreDouble::instance().calledOperations;
  for (const Writer& writer : kWriters) {
    for (uint32_t n = 1;; ++n) {
      SCOPED_TRACE(std::string(writer.name) + (store ? ", store call " : ", allocation ") +
                   std::to_string(n));
      HDICT* dict = t.freshDictionary();
      writer.prepare(t, dict);
      const Target target = targetIn(t, dict);
      called.clear();
      if (store) StoreDouble::instance().failCall = n;
      if (!store) injectAllocationFailure(n);
      const int32_t result = writer.call(target);
      StoreDouble::instance().failCall = 0;
      injectAllocationFailure(0);
      const bool struck = store ? called.size() >= n : result != 1;
      if (result == 1) {
        // A failed look-up of whether the word is there already reads as "not there".
        EXPECT_TRUE(writer.done(t, dict));
        EXPECT_EQ(t.consistency(dict->dictId), "");
      } else {
        ASSERT_TRUE(struck);
        const std::string step = store ? called[n - 1] : "allocation";
        const auto before = called.begin() + (store ? n - 1 : 0);
        writer.afterFailure(t, dict, step, int(std::count(called.begin(), before, step)));
      }
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
