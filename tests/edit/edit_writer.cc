// The other process of the multi-process tests: a client of the library that adds
// records and notes to one dictionary and says which ones it was told were added.
//   edit_writer DICTID WRITER COUNT ACKFILE REGROOT REGPATH
// adds COUNT records, each with a note, named by writeOf(WRITER, i) (writer_texts.h);
// after each add that returned 1 it appends "R word" or "N word" to ACKFILE and flushes,
// so a kill loses no acknowledgement. The dictionary is configured under the registry key
// REGPATH of the root REGROOT (the test's own). Exits 0, or 1 at the first add that failed.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "orviadic.h"
#include "writer_texts.h"

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

static int failed(const char* what, const std::string& word) {
  std::fprintf(stderr, "edit_writer: the %s of %s failed\n", what, word.c_str());
  return 1;
}

int main(int argc, char** argv) {
  if (argc != 7) return 2;
  const uintptr_t root = std::strtoul(argv[5], nullptr, 0);
  if (dicSetRegKey(reinterpret_cast<void*>(root), argv[6]) != 1) return 3;
  const uint32_t dictId = uint32_t(std::strtoul(argv[1], nullptr, 0));
  const int writer = std::atoi(argv[2]), count = std::atoi(argv[3]);
  FILE* acks = std::fopen(argv[4], "a");
  HDICT* dict = dicCreateHDICT(dictId);
  if (acks == nullptr || dict == nullptr) return 1;
  for (int i = 0; i < count; ++i) {
    const std::string word = orvia::testing::writtenWord(writer, i);
    const std::string record = orvia::testing::recordTextOf(word);
    if (dicAddRecord(dict, word.c_str(), 0, record.c_str(), 0) != 1) return failed("record", word);
    std::fprintf(acks, "R %s\n", word.c_str());
    std::fflush(acks);
    HWORD* found = searchExactly(dict, word);
    const std::string note = orvia::testing::noteTextOf(word);
    if (found == nullptr || dicAddMem(found, note.c_str(), 0) != 1) return failed("note", word);
    dicFreeHWORD(found);
    std::fprintf(acks, "N %s\n", word.c_str());
    std::fflush(acks);
  }
  std::fclose(acks);
  return dicFreeHDICT(dict) == 1 ? 0 : 1;
}
