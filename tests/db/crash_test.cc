// A writer killed at random instants loses nothing it acknowledged: after each kill
// the index holds exactly the acknowledged operations in order, plus the one in
// flight either whole or not at all, and verify passes.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <random>

#include "db/database.h"
#include "db/verify.h"
#include "db_test_support.h"
#include "support/temp_dir.h"

namespace orvia::db {
namespace {

using testing::Model;
using testing::ModelRecord;

struct Op {
  bool insert = true;
  ModelRecord record;
  uint32_t position = 0;
};

// The writer and the checker draw the same operations from the same seed and state.
Op nextOp(std::mt19937& rng, const Model& model) {
  Op op;
  op.insert = model.size() < 40 || rng() % 100 < 55;
  if (op.insert) {
    op.record = testing::randomRecord(rng);
  } else {
    op.position = rng() % model.size();
  }
  return op;
}

void applyTo(Model* model, const Op& op) {
  if (op.insert) {
    model->insert(op.record);
  } else {
    model->erase(op.position);
  }
}

// The child: writes until killed, one byte to the pipe per acknowledged operation.
[[noreturn]] void runWriter(const std::string& path, uint32_t seed, Model model, int ackFd) {
  OpenOptions options;
  // Every other round compacts often, so that kills land inside compactions too.
  options.compactMinLogBytes = seed % 2 == 0 ? 8192 : OpenOptions().compactMinLogBytes;
  auto db = Database::open(path, testing::foldCompare, options);
  if (!db) _exit(2);
  std::mt19937 rng(seed);
  for (;;) {
    Op op = nextOp(rng, model);
    bool ok;
    if (op.insert) {
      const ModelRecord& r = op.record;
      ok = db->insert(NewRecord{
          reinterpret_cast<const uint8_t*>(testing::kContentName), r.contentDictId, r.contentRef,
          reinterpret_cast<const uint8_t*>(r.data.data()), uint32_t(r.data.size())});
    } else {
      ok = db->erase(op.position);
    }
    if (!ok) _exit(3);
    applyTo(&model, op);
    if (write(ackFd, "+", 1) != 1) _exit(4);
  }
}

TEST(CrashTest, KilledWriterKeepsEveryAcknowledgedOperation) {
  orvia::testing::TempDir dir;
  std::string path = dir.file("00000001.IDX");
  ASSERT_EQ(dbCreate(path.c_str()), 1);
  Model model(testing::foldCompare);
  std::mt19937 timing(7);
  int inFlightApplied = 0;
  size_t totalAcknowledged = 0;
  for (uint32_t round = 0; round < 60; ++round) {
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      close(fds[0]);
      runWriter(path, round + 1, model, fds[1]);
    }
    close(fds[1]);
    usleep(500 + timing() % 8000);
    kill(child, SIGKILL);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL)
        << "writer stopped by itself, status " << status;
    size_t acknowledged = 0;
    char buffer[4096];
    for (ssize_t got; (got = read(fds[0], buffer, sizeof buffer)) > 0;) acknowledged += size_t(got);
    close(fds[0]);

    totalAcknowledged += acknowledged;
    std::mt19937 rng(round + 1);
    for (size_t i = 0; i < acknowledged; ++i) applyTo(&model, nextOp(rng, model));
    Op inFlight = nextOp(rng, model);

    DBHANDLE h = dbOpen(path.c_str(), testing::foldCompare);
    ASSERT_NE(h, nullptr) << "round " << round;
    std::vector<std::string> actual = testing::allRecords(h);
    ASSERT_EQ(dbClose(h), 1);
    if (actual != testing::allRecords(model)) {
      applyTo(&model, inFlight);
      ASSERT_EQ(actual, testing::allRecords(model))
          << "round " << round << " after " << acknowledged << " acknowledged operations";
      ++inFlightApplied;
    }
    Problem problem;
    ASSERT_TRUE(verifyIndex(path, testing::foldCompare, &problem))
        << "round " << round << ": " << describe(problem);
  }
  RecordProperty("inFlightApplied", inFlightApplied);
  RecordProperty("acknowledged", int(totalAcknowledged));
}

}  // namespace
}  // namespace orvia::db
