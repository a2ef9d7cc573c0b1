// A merge killed at any moment, over the real record store: every index stays whole, the
// user-entry files walk cleanly, the registry still reads, and a second merge brings every
// new word with its new text while each user record stays a record or became a note.
#include <gtest/gtest.h>

#include <chrono>
#include <random>
#include <thread>

#include "support/child_process.h"
#include "update/merge_fixture.h"

namespace orvia::testing {
namespace {

constexpr int kRounds = 20, kWords = 300;
constexpr uint32_t kTarget = 0x01010101;
const char* const kUserWords[] = {"w1", "w150", "w299"};

using MergeKill = MergeFixture;

TEST_F(MergeKill, AMergeKilledAtAnyMomentLosesNothingASecondMergeCannotBring) {
  std::string words;
  for (int n = 0; n < kWords; ++n) words += (n == 0 ? "w" : ",w") + std::to_string(n) + ":1";
  std::mt19937 random(std::random_device{}());
  for (int round = 0; round < kRounds; ++round) {
    SCOPED_TRACE("round " + std::to_string(round));
    restart();
    makeTarget(kTarget);
    for (const char* word : kUserWords) ASSERT_EQ(dicAddRecord(dict_, word, 0, "mine", 0), 1);
    const std::string file = newWordFile(kTarget, 3, words);
    {
      ChildProcess merger("merge_runner", {file, std::to_string(testKeyRoot()), testKeyPath()});
      ASSERT_TRUE(merger.started());
      std::this_thread::sleep_for(std::chrono::microseconds(random() % 150000));
      merger.kill();
    }
    EXPECT_EQ(consistency() + verifyReport(fileOf(kTarget, ".IDX"), compare()), "");
    ASSERT_EQ(dicAddNewWord(file.c_str()), 1);
    uint32_t version = 0;
    EXPECT_EQ(dicGetCurrentNewWordVersion(kTarget, &version), 1);
    EXPECT_EQ(version, 3u);
    HDICT* t = dicts_.emplace_back(dicCreateHDICT(kTarget));
    for (int n = 0; n < kWords; n += 13) {
      const std::string word = "w" + std::to_string(n);
      EXPECT_NE(content(word, t, kTarget, kTarget).find(textOf(word, 1)), std::string::npos)
          << word;
    }
    for (const char* word : kUserWords)
      EXPECT_TRUE(recordText(word) == "mine" || note(word) == "mine") << word;
  }
}

}  // namespace
}  // namespace orvia::testing
