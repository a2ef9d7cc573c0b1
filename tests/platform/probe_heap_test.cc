// Pointer probes and heaps: what the argument checks and allocation-failure paths use.
#include <signal.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstring>

#include "platform/platform.h"
#include "support/heap_failures.h"

namespace orvia::platform {
namespace {

// Two pages: the first readable and writable, the second as the test sets it.
class GuardPages : public ::testing::Test {
 protected:
  void SetUp() override {
    page_ = size_t(sysconf(_SC_PAGESIZE));
    base_ = static_cast<char*>(
        mmap(nullptr, 2 * page_, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0));
    ASSERT_NE(base_, MAP_FAILED);
    std::memset(base_, 'x', page_);
  }
  void TearDown() override { munmap(base_, 2 * page_); }
  void protectSecond(int prot) { ASSERT_EQ(mprotect(base_ + page_, page_, prot), 0); }

  size_t page_ = 0;
  char* base_ = nullptr;
};

TEST_F(GuardPages, ProbesStopAtTheGuard) {
  protectSecond(PROT_NONE);
  char* lastByte = base_ + page_ - 1;
  EXPECT_TRUE(isWritable(lastByte, 1));
  EXPECT_FALSE(isWritable(lastByte, 2));
  EXPECT_TRUE(isReadable(lastByte, 1));
  EXPECT_FALSE(isReadable(lastByte, 2));
  EXPECT_FALSE(isWritable(base_ + page_, 1));
  EXPECT_EQ(*lastByte, 'x');  // probing leaves the bytes as they were
}

TEST_F(GuardPages, ReadOnlyMemoryIsReadableNotWritable) {
  protectSecond(PROT_READ);
  EXPECT_TRUE(isReadable(base_ + page_, page_));
  EXPECT_FALSE(isWritable(base_ + page_, 1));
  EXPECT_FALSE(isWritable(base_, page_ + 1));
  EXPECT_TRUE(isWritable(base_, page_));
}

TEST(Probes, NullIsAlwaysRefused) {
  EXPECT_FALSE(isReadable(nullptr, 0));
  EXPECT_FALSE(isWritable(nullptr, 0));
  char byte = 0;
  EXPECT_TRUE(isWritable(&byte, 0));
}

// A child process that probes (installing the probe's fault handler), then faults for
// real; returns its wait status.
int faultAfterProbing(void (*before)()) {
  pid_t child = fork();
  if (child == 0) {
    before();
    installProbeFaultHandlers();
    char byte = 0;
    isWritable(&byte, 1);
    EXPECT_FALSE(isReadable(reinterpret_cast<void*>(uintptr_t(8)), 1));
    *static_cast<volatile char*>(
        mmap(nullptr, 4096, PROT_READ, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0)) = 1;
    _exit(0);
  }
  int status = 0;
  waitpid(child, &status, 0);
  return status;
}

TEST(Probes, FaultsOutsideAProbeReachTheEarlierHandler) {
  int status = faultAfterProbing([] {
    struct sigaction action = {};
    action.sa_handler = [](int) { _exit(42); };
    sigaction(SIGSEGV, &action, nullptr);
  });
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 42);
  status = faultAfterProbing([] { signal(SIGSEGV, SIG_DFL); });
  EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGSEGV);
}

TEST(Heaps, InjectedFailureHitsTheNthAllocation) {
  HeapHandle heap = processHeap();
  ASSERT_NE(heap, nullptr);
  testing::injectAllocationFailure(2);
  void* first = heapAlloc(heap, 16);
  void* second = heapAlloc(heap, 16);
  void* third = heapAlloc(heap, 16);
  EXPECT_NE(first, nullptr);
  EXPECT_EQ(second, nullptr);
  EXPECT_NE(third, nullptr);
  heapFree(heap, first);
  heapFree(heap, third);
  testing::injectProcessHeapFailure(true);
  EXPECT_EQ(processHeap(), nullptr);
  testing::injectProcessHeapFailure(false);
  EXPECT_NE(processHeap(), nullptr);
}

TEST(Heaps, PrivateHeapFreesWhatIsLeftOnDestroy) {
  HeapHandle heap = createHeap(1024);
  ASSERT_NE(heap, nullptr);
  void* kept = heapAlloc(heap, 100);
  void* freed = heapAlloc(heap, 100);
  ASSERT_TRUE(kept && freed);
  EXPECT_TRUE(heapFree(heap, freed));
  EXPECT_FALSE(heapFree(heap, freed));  // not a block of this heap any more
  void* grown = heapReAlloc(heap, kept, 5000);
  ASSERT_NE(grown, nullptr);
  EXPECT_TRUE(destroyHeap(heap));  // the sanitizer build reports a leak if grown stayed
  EXPECT_FALSE(destroyHeap(processHeap()));
}

}  // namespace
}  // namespace orvia::platform
