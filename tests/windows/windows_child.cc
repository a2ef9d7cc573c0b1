// The other process of the store's Windows process tests:
//   insert PATH PREFIX N inserts N records keyed PREFIX0.. into the index at PATH,
//                        compacting after every 50
//   insert-forever PATH ACKS  inserts records k0, k1, ... adding each number to the
//                        file ACKS once acknowledged
#include <cstdio>
#include <cstdlib>
#include <string>

#include "support/store_records.h"

namespace {

using namespace orvia::testing;

int insertCount(const char* path, const std::string& prefix, int count) {
  DBHANDLE h = dbOpen(path, foldCompare);
  if (h == nullptr) return 2;
  for (int i = 0; i < count; ++i) {
    if (!insertArea(h, area(prefix + std::to_string(i)), uint32_t(i))) return 3;
    if (i % 50 == 49 && dbCompact(h) != 1) return 5;
  }
  return dbClose(h) == 1 ? 0 : 4;
}

int insertForever(const char* path, const char* acks) {
  DBHANDLE h = dbOpen(path, foldCompare);
  std::FILE* out = std::fopen(acks, "w");
  if (h == nullptr || out == nullptr) return 2;
  for (uint32_t i = 0;; ++i) {
    if (!insertArea(h, area("k" + std::to_string(i)), i)) return 3;
    std::fprintf(out, "%u\n", i);
    std::fflush(out);
  }
}

}  // namespace

int main(int argc, char** argv) {
  std::string command = argc > 1 ? argv[1] : "";
  if (command == "insert" && argc == 5) return insertCount(argv[2], argv[3], std::atoi(argv[4]));
  if (command == "insert-forever" && argc == 4) return insertForever(argv[2], argv[3]);
  std::fprintf(stderr, "windows_child: unknown command\n");
  return 2;
}
