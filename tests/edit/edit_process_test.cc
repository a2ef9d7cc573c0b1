// Writers in several processes at once, and writers killed at any moment, over the real
// record store and the real writers' mutex: nothing acknowledged is lost or damaged, and
// nobody waits for a dead writer.
//
// Each writer adds 40 records and 40 notes (10 under Wine), in three rounds; the kill test
// has 20 rounds (5 under Wine). ORVIADIC_WRITER_ENTRIES sets
// how many (500 for the full run: every add closes an index that it wrote, which syncs
// the file, so 4,000 adds take about half a minute).
// ORVIADIC_LOCK_BYPASS_RUNS=N (opt-in) repeats the four writers up to N times with the
// lock bypassed, and passes only when some run lost or damaged an entry: without that,
// the test of the lock would prove nothing.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <random>
#include <string>
#include <thread>

#include "support/child_process.h"
#include "user_edit_fixture.h"
#include "writer_texts.h"

namespace orvia::testing {
namespace {

constexpr int kWriters = 4;

// Wine starts processes and syncs files about ten times slower: fewer there.
#ifdef _WIN32
constexpr int kDefaultEntries = 10, kKillRounds = 5;
#else
constexpr int kDefaultEntries = 40, kKillRounds = 20;
#endif

int entriesPerWriter() {
  const char* set = std::getenv("ORVIADIC_WRITER_ENTRIES");
  return set != nullptr ? std::atoi(set) : kDefaultEntries;
}

// A writer process on dictionary id; the test's registry key is told by its name.
std::unique_ptr<ChildProcess> writer(const char* program, uint32_t id, int number, int count,
                                     const std::string& acks) {
  return std::make_unique<ChildProcess>(
      program,
      std::vector<std::string>{std::to_string(id), std::to_string(number), std::to_string(count),
                               acks, std::to_string(testKeyRoot()), testKeyPath()});
}

class WriterProcesses : public UserEditFixture {
 protected:
  // Runs kWriters writer processes at once on a new dictionary; the first way in which it
  // differs from every writer's entries all there, each exactly once with its exact texts;
  // "" when it does not.
  std::string lostOrDamaged(const char* program, uint32_t id) {
    HDICT* dict = makeDictionary(id);
    std::vector<std::unique_ptr<ChildProcess>> writers;
    for (int w = 0; w < kWriters; ++w)
      writers.push_back(writer(program, id, w, entriesPerWriter(), dir_.file("acks")));
    for (auto& process : writers) EXPECT_EQ(process->wait(), 0) << program << " exited so";
    const size_t all = size_t(kWriters) * entriesPerWriter();
    if (entries(dict::recordDictId(id)).size() != all) return "record companion count";
    if (entries(dict::memDictId(id)).size() != all) return "memory companion count";
    if (dicGetWordCount(dict) != all + std::size(kOwnWords)) return "dictionary count";
    for (int w = 0; w < kWriters; ++w)
      for (int i = 0; i < entriesPerWriter(); ++i) {
        const std::string word = writtenWord(w, i);
        if (recordText(word, dict) != recordTextOf(word)) return "record " + word;
        if (note(word, dict) != noteTextOf(word)) return "note " + word;
      }
    return consistency(id);
  }
};

TEST_F(WriterProcesses, FourWritersAtOnceLoseNothing) {
  for (uint32_t round = 1; round <= 3; ++round)
    EXPECT_EQ(lostOrDamaged("edit_writer", kDictId + (round << 16)), "") << "round " << round;
}

TEST_F(WriterProcesses, WithoutTheLockWritersLoseOrDamageEntries) {
  const char* runs = std::getenv("ORVIADIC_LOCK_BYPASS_RUNS");
  if (runs == nullptr) GTEST_SKIP() << "opt-in: ORVIADIC_LOCK_BYPASS_RUNS=N";
  for (int run = 1; run <= std::atoi(runs); ++run) {
    const std::string problem = lostOrDamaged("edit_writer_unlocked", kDictId + (run << 16));
    if (!problem.empty()) {
      std::printf("without the lock, run %d lost or damaged an entry: %s\n", run, problem.c_str());
      return;
    }
  }
  ADD_FAILURE() << "no run without the lock lost anything: the lock test proves nothing";
}

TEST_F(WriterProcesses, AWriterKilledAtAnyMomentBlocksNobodyAndLosesNothingAcknowledged) {
  std::mt19937 random(std::random_device{}());
  const std::string acks = dir_.file("acks");
  for (int round = 0; round < kKillRounds; ++round) {
    SCOPED_TRACE("round " + std::to_string(round));
    {
      auto victim = writer("edit_writer", kDictId, round, 1000, acks);
      ASSERT_TRUE(victim->started());
      std::this_thread::sleep_for(std::chrono::microseconds(random() % 40000));
      victim->kill();
    }
    // The next writer gets the lock: a lock left held would hang here.
    ASSERT_EQ(writer("edit_writer", kDictId, 100 + round, 1, dir_.file("next-acks"))->wait(), 0);
    ASSERT_EQ(consistency(), "");
    std::ifstream acknowledged(acks);  // "R word" and "N word" lines
    for (std::string line; std::getline(acknowledged, line) && line.size() > 2;) {
      const std::string word = line.substr(2);
      const bool record = line[0] == 'R';  // else a note
      ASSERT_EQ(record ? recordText(word) : note(word),
                record ? recordTextOf(word) : noteTextOf(word));
    }
  }
}

}  // namespace
}  // namespace orvia::testing
