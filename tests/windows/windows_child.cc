// The other process of the Windows process tests:
//   hold-mutex NAME      takes the named mutex, signals NAME.acquired, waits for
//                        NAME.proceed, signals NAME.releasing and releases it
//   abandon-mutex NAME   takes the named mutex, signals NAME.acquired and exits holding it
//   insert PATH PREFIX N inserts N records keyed PREFIX0.. into the index at PATH,
//                        compacting after every 50
//   insert-forever PATH  inserts records k0, k1, ... printing each number once acknowledged
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "support/store_records.h"
#include "orviadb.h"
#include "platform/platform.h"

namespace {

using orvia::db::testing::area;
using orvia::db::testing::foldCompare;
using orvia::db::testing::kContentName;

HANDLE event(const std::string& name) {
  return CreateEventA(nullptr, TRUE, FALSE, name.c_str());
}

int holdMutex(const std::string& name, bool release) {
  orvia::platform::MutexHandle mutex = orvia::platform::openOrCreateMutex(name.c_str());
  if (mutex == nullptr) return 2;
  orvia::platform::waitMutex(mutex);
  SetEvent(event(name + ".acquired"));
  if (!release) ExitProcess(0);
  WaitForSingleObject(event(name + ".proceed"), INFINITE);
  SetEvent(event(name + ".releasing"));
  orvia::platform::releaseMutex(mutex);
  orvia::platform::closeMutex(mutex);
  return 0;
}

bool insert(DBHANDLE h, const std::string& key, uint32_t ref) {
  std::string data = area(key);
  DbInsertDescriptor d{kContentName, 0x01000001, ref, uint32_t(data.size()), data.data()};
  return dbInsert(h, &d) == 1;
}

int insertCount(const char* path, const std::string& prefix, int count) {
  DBHANDLE h = dbOpen(path, foldCompare);
  if (h == nullptr) return 2;
  for (int i = 0; i < count; ++i) {
    if (!insert(h, prefix + std::to_string(i), uint32_t(i))) return 3;
    if (i % 50 == 49 && dbCompact(h) != 1) return 5;
  }
  return dbClose(h) == 1 ? 0 : 4;
}

int insertForever(const char* path) {
  DBHANDLE h = dbOpen(path, foldCompare);
  if (h == nullptr) return 2;
  for (uint32_t i = 0;; ++i) {
    if (!insert(h, "k" + std::to_string(i), i)) return 3;
    std::printf("%u\n", i);
    std::fflush(stdout);
  }
}

}  // namespace

int main(int argc, char** argv) {
  std::string command = argc > 1 ? argv[1] : "";
  if (command == "hold-mutex" && argc == 3) return holdMutex(argv[2], true);
  if (command == "abandon-mutex" && argc == 3) return holdMutex(argv[2], false);
  if (command == "insert" && argc == 5) return insertCount(argv[2], argv[3], std::atoi(argv[4]));
  if (command == "insert-forever" && argc == 3) return insertForever(argv[2]);
  std::fprintf(stderr, "windows_child: unknown command\n");
  return 2;
}
