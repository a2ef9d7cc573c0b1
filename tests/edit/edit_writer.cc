// The other process of the multi-process tests: a client of the library that adds
// records and notes to one dictionary and says which ones it was told were added.
//   edit_writer DICTID WRITER COUNT ACKFILE REGROOT REGPATH
// adds COUNT records "writerWwordI", each with a note, texts of one to three blocks so that
// appends of different lengths interleave. After each add that returned 1 it appends
// "R word text" or "N word text" to ACKFILE and flushes, so a kill loses no
// acknowledgement. The dictionary is configured under the registry key REGPATH of the root
// REGROOT (the test's own). Exits 0, or 1 at the first add that failed.
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>

#include "orviadic.h"

// The handle of word itself. A search settles on a record by its number, which writers
// in other processes shift meanwhile, so it may land next to the word: search again.
static HWORD* searchExactly(HDICT* dict, const std::string& word) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    HWORD* found = dicSearchWord(dict, word.c_str());
    char key[256] = {};
    if (found != nullptr && dicGetKey(found, key, sizeof key) == 1 && word == key) return found;
    if (found != nullptr) dicFreeHWORD(found);
  }
  return nullptr;
}

int main(int argc, char** argv) {
  if (argc != 7) return 2;
  const uintptr_t root = std::strtoul(argv[5], nullptr, 0);
  HDICT* dict = dicSetRegKey(reinterpret_cast<void*>(root), argv[6]) == 1
                    ? dicCreateHDICT(uint32_t(std::strtoul(argv[1], nullptr, 0)))
                    : nullptr;
  FILE* acks = std::fopen(argv[4], "ab");  // binary: the test reads the bytes
  for (int i = 0; dict != nullptr && acks != nullptr && i < std::atoi(argv[3]); ++i) {
    const std::string word = "writer" + std::string(argv[2]) + "word" + std::to_string(i);
    const size_t spread = std::hash<std::string>{}(word);
    const std::string record = "record of " + word + std::string(spread % 500, 'r');
    if (dicAddRecord(dict, word.c_str(), 0, record.c_str(), 0) != 1) return 1;
    std::fprintf(acks, "R %s %s\n", word.c_str(), record.c_str());
    std::fflush(acks);
    HWORD* found = searchExactly(dict, word);
    const std::string note = "note on " + word + std::string(spread % 700, 'n');
    if (found == nullptr || dicAddMem(found, note.c_str(), 0) != 1) return 1;
    dicFreeHWORD(found);
    std::fprintf(acks, "N %s %s\n", word.c_str(), note.c_str());
    std::fflush(acks);
  }
  return dict != nullptr && acks != nullptr && dicFreeHDICT(dict) == 1 ? 0 : 1;
}
