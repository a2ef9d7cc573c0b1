// The merging process of the kill test: a client of the library that merges one file.
//   merge_runner FILE REGROOT REGPATH
// The dictionaries are configured under the registry key REGPATH of the root REGROOT (the
// test's own). Exits 0 when the merge returned 1, else 1.
#include <cstdlib>

#include "orviadic.h"

int main(int argc, char** argv) {
  if (argc != 4) return 2;
  const uintptr_t root = std::strtoul(argv[2], nullptr, 0);
  if (dicSetRegKey(reinterpret_cast<void*>(root), argv[3]) != 1) return 3;
  return dicAddNewWord(argv[1]) == 1 ? 0 : 1;
}
