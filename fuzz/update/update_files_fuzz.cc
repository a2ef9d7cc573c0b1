// Property: any bytes, read as each of the files the user's updates bring, in a small world
// of dictionaries made afresh for each use. As a new-word file, checking and extracting it
// never reads or writes out of bounds, and whatever extraction writes over older and longer
// companion files is exactly the two images the header marks out. As an owner-word exchange
// file, counting and importing it, and as a new-word file whose header is mended (its
// target becomes 0x01010101, its sizes agree with the input) so that runs reach the merge,
// merging it, never read or write out of bounds nor crash, and leave every index whole for
// the store's own check.
// Input: the file itself.
#include <cstdint>
#include <filesystem>
#include <string>

#include "base/bytes.h"
#include "compile/newword_target.h"
#include "lang/lang_ops.h"
#include "support/store_records.h"
#include "support/temp_dir.h"
#include "support/test_module.h"
#include "update/newword_extract.h"
#include "update/newword_file.h"
#include "update/newword_merge.h"
#include "update/owner_word_import.h"

using namespace orvia;
namespace fs = std::filesystem;

namespace {

constexpr uint32_t kInstalled = 0x00010101;

// The template world, made once: the new-word target 0x01010101, the installed dictionary
// 0x00010101 it feeds (a copy of it, with the own words "date" and "grape" added) and the
// installed dictionary's empty record and memory companions.
const std::string& root() {
  static const std::string path = [] {
    const std::string dir = testing::makeTempDir("orvia-update-fuzz");
    testing::loadModuleOverTestRegistry(dir);
    testing::writeTestKey("\"PATH\"=\"" + dir + "/copy\"\r\n");
    const std::string base = dir + "/template";
    fs::create_directory(base);
    compile::CompiledDictionary compiled;
    std::string problem;
    if (!compile::createNewWordTarget(0x01010101, base, &compiled, &problem)) __builtin_trap();
    fs::copy_file(base + "/01010101.IDX", base + "/00010101.IDX");
    DBHANDLE db = dbOpen((base + "/00010101.IDX").c_str(), lang::getCompareKeysFn(1));
    for (const char* word : {"date", "grape"})
      testing::insertArea(db, testing::area(word, word) + '\xB8', 0x100, kInstalled);
    dbClose(db);
    for (const char* name : {"7F010101", "FF010101"}) {
      dbCreate((base + "/" + name + ".IDX").c_str());
      testing::writeFileBytes(base + "/" + name + ".DAT", std::string(4, '\0'));
    }
    return dir;
  }();
  return path;
}

// The template's copy afresh, with the input written into it as input.bin; its path.
std::string freshInput(const std::string& input) {
  const std::string copy = root() + "/copy";
  std::error_code ignored;
  fs::remove_all(copy, ignored);
  fs::copy(root() + "/template", copy, ignored);
  testing::writeFileBytes(copy + "/input.bin", input);
  return copy + "/input.bin";
}

void verifyIndexes() {
  char report[128];
  for (const char* name : {"01010101", "00010101", "7F010101", "FF010101"})
    if (dbVerify((root() + "/copy/" + name + ".IDX").c_str(), lang::getCompareKeysFn(1), report,
                 sizeof report) == 0)
      __builtin_trap();
}

// target: the id the file names.
void extract(const std::string& input, uint32_t target) {
  const std::string path = freshInput(input);
  std::string companion[2];  // the index, then the data file, of the target's companion
  for (int i = 0; i < 2; ++i) {
    char name[dict::kFileNameBufferSize];
    dict::buildDictFileName(dict::newWordDictId(target), name, i == 0 ? ".IDX" : ".DAT");
    testing::writeFileBytes(companion[i] = root() + "/copy/" + name, std::string(3000, 'o'));
  }
  content::FileHandle file = content::openFileRead(path.c_str());
  update::checkNewWordFile(file);
  update::NewWordFileHeader header;
  if (update::readNewWordHeader(file, &header) != 0 && update::extractNewWordFile(file).ok() &&
      (testing::readFileBytes(companion[0]) !=
           input.substr(header.headerSize, header.indexImageSize) ||
       testing::readFileBytes(companion[1]) !=
           input.substr(size_t(header.headerSize) + header.indexImageSize,
                        header.contentImageSize)))
    __builtin_trap();
  content::closeFile(file);
  content::closeFile(update::openNewWordFile(path.c_str()));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string input(data, data + size);
  if (size >= 4) extract(input, loadU32Le(data));
  const std::string exchange = freshInput(input);
  uint32_t count = 0;
  update::countImportOwnerWords(kInstalled, exchange.c_str(), &count);
  update::importOwnerWords(kInstalled, exchange.c_str(), nullptr);
  verifyIndexes();
  if (size < 40) return 0;
  auto* header = reinterpret_cast<uint8_t*>(input.data());
  storeU32Le(header, 0x01010101);
  storeU32Le(header + 24, 40);
  const uint32_t images = uint32_t(size - 40), index = loadU32Le(header + 28) % (images + 1);
  storeU32Le(header + 28, index);
  storeU32Le(header + 32, images - index);
  storeU32Le(header + 36, images);
  update::mergeNewWordFile(freshInput(input).c_str(), update::MergeProgress());
  verifyIndexes();
  return 0;
}
