// Notes and records through the exports over the real record store: one script of calls
// and checks (what each call leaves in the companions, what it refuses, and that refusals
// and damaged companions change no byte); and writers in several processes at once, and
// writers killed at any moment, over the real writers' mutex: nothing acknowledged is lost
// or damaged, and nobody waits for a dead writer.
//
// Each writer adds 40 records and 40 notes (10 under Wine), in three rounds; the kill test
// has 20 rounds (5 under Wine). ORVIADIC_WRITER_ENTRIES sets how many (500 for the full
// run: every add closes an index that it wrote, which syncs the file, so 4,000 adds take
// about half a minute).
// ORVIADIC_LOCK_BYPASS_RUNS=N (opt-in) repeats the four writers up to N times with the
// lock bypassed, and passes only when some run lost or damaged an entry: without that,
// the test of the lock would prove nothing.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <deque>
#include <random>
#include <sstream>
#include <thread>

#include "support/child_process.h"
#include "user_edit_fixture.h"

namespace orvia::testing {
namespace {

// Wine starts processes and syncs files about ten times slower: fewer there.
#ifdef _WIN32
constexpr const char* kDefaultEntries = "10";
constexpr int kKillRounds = 5;
#else
constexpr const char* kDefaultEntries = "40";
constexpr int kKillRounds = 20;
#endif

class UserEdits : public UserEditFixture {
 protected:
  // A writer process's arguments on dictionary id, with the test's registry key. Each
  // writer has an acknowledgement file of its own: appends from several processes to one
  // file are not atomic on Windows.
  std::vector<std::string> writer(uint32_t id, int number, const std::string& count) {
    return {std::to_string(id),
            std::to_string(number),
            count,
            dir_.file("acks." + std::to_string(number)),
            std::to_string(testKeyRoot()),
            testKeyPath()};
  }
  // The first acknowledged entry (an "R word text" or "N word text" line) that is not there
  // with its text, or a companion that holds more than was acknowledged when every add
  // was, or the first inconsistency; "" when there is none.
  std::string lostOrDamaged(uint32_t id, bool allAcknowledged) {
    HDICT* dict = dicts_.emplace_back(dicCreateHDICT(id));
    size_t acknowledged[2] = {};
    for (const auto& [name, bytes] : dir_.files()) {
      std::istringstream acks(name.rfind("acks.", 0) == 0 ? bytes : "");
      for (std::string line; std::getline(acks, line) && line.size() > 2;) {
        const size_t space = line.find(' ', 2);
        const std::string word = line.substr(2, space - 2), text = line.substr(space + 1);
        ++acknowledged[line[0] == 'N'];
        if ((line[0] == 'R' ? recordText(word, dict) : note(word, dict)) != text) return line;
      }
    }
    if (allAcknowledged && (entries(dict::recordDictId(id)).size() != acknowledged[0] ||
                            entries(dict::memDictId(id)).size() != acknowledged[1] ||
                            dicGetWordCount(dict) != acknowledged[0] + std::size(kOwnWords)))
      return "more entries than acknowledged";
    return consistency(id);
  }
  // Runs four writers at once on a new dictionary; whatever lostOrDamaged finds.
  std::string fourWriters(const char* program, uint32_t id) {
    for (const auto& [name, bytes] : dir_.files())
      if (name.rfind("acks.", 0) == 0) std::remove(dir_.file(name).c_str());
    makeDictionary(id);
    std::deque<ChildProcess> writers;
    const char* entries = std::getenv("ORVIADIC_WRITER_ENTRIES");
    for (int w = 0; w < 4; ++w)
      writers.emplace_back(program, writer(id, w, entries != nullptr ? entries : kDefaultEntries));
    for (auto& process : writers) EXPECT_EQ(process.wait(), 0) << program << " exited so";
    return lostOrDamaged(id, true);
  }
};

TEST_F(UserEdits, ScriptOfCallsAndChecks) {
  for (const CaseRow& c : caseTable("edit/user_edits.txt")) expectRow(c);
}

TEST_F(UserEdits, FourWritersAtOnceLoseNothing) {
  for (uint32_t round = 1; round <= 3; ++round)
    EXPECT_EQ(fourWriters("edit_writer", kDictId + (round << 16)), "") << "round " << round;
}

TEST_F(UserEdits, WithoutTheLockWritersLoseOrDamageEntries) {
  const char* runs = std::getenv("ORVIADIC_LOCK_BYPASS_RUNS");
  if (runs == nullptr) GTEST_SKIP() << "opt-in: ORVIADIC_LOCK_BYPASS_RUNS=N";
  for (int run = 1; run <= std::atoi(runs); ++run) {
    const std::string problem = fourWriters("edit_writer_unlocked", kDictId + (run << 16));
    if (!problem.empty())
      return (void)std::printf("without the lock, run %d lost an entry: %s\n", run,
                               problem.c_str());
  }
  ADD_FAILURE() << "no run without the lock lost anything: the lock test proves nothing";
}

TEST_F(UserEdits, AWriterKilledAtAnyMomentBlocksNobodyAndLosesNothingAcknowledged) {
  std::mt19937 random(std::random_device{}());
  for (int round = 0; round < kKillRounds; ++round) {
    SCOPED_TRACE("round " + std::to_string(round));
    ChildProcess victim("edit_writer", writer(kDictId, round, "1000"));
    ASSERT_TRUE(victim.started());
    std::this_thread::sleep_for(std::chrono::microseconds(random() % 40000));
    victim.kill();
    // The next writer gets the lock: a lock left held would hang here.
    ASSERT_EQ(ChildProcess("edit_writer", writer(kDictId, 100 + round, "1")).wait(), 0);
    ASSERT_EQ(lostOrDamaged(kDictId, false), "");
  }
}

}  // namespace
}  // namespace orvia::testing
