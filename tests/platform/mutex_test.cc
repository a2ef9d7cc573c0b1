#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <fstream>

#include "platform/platform.h"
#include "support/temp_dir.h"

namespace orvia::platform {
namespace {

// Two processes append to one file under the mutex, each write a read-modify-write of
// a counter; without mutual exclusion increments are lost.
TEST(NamedMutex, ExcludesOtherProcesses) {
  orvia::testing::TempDir dir;
  std::string counter = dir.file("counter");
  orvia::testing::writeFileBytes(counter, "0");
  const std::string name = "orviadic test mutex " + std::to_string(getpid());
  constexpr int kRounds = 200;
  pid_t child = fork();
  ASSERT_GE(child, 0);
  MutexHandle mutex = openOrCreateMutex(name.c_str());
  bool ok = mutex != nullptr;
  for (int i = 0; ok && i < kRounds; ++i) {
    waitMutex(mutex);
    int value = std::stoi(orvia::testing::readFileBytes(counter));
    usleep(10);
    orvia::testing::writeFileBytes(counter, std::to_string(value + 1));
    releaseMutex(mutex);
  }
  closeMutex(mutex);
  if (child == 0) _exit(ok ? 0 : 1);
  int status = 0;
  waitpid(child, &status, 0);
  ASSERT_TRUE(ok);
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  EXPECT_EQ(orvia::testing::readFileBytes(counter), std::to_string(2 * kRounds));
}

}  // namespace
}  // namespace orvia::platform
