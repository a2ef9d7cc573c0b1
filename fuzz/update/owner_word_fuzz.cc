// Property: counting and importing any bytes as an exchange file never reads or writes out
// of bounds, and leaves every index the import touched whole (dbVerify passes).
// Input: the exchange file. Each run imports into a fresh copy of a small dictionary,
// 0x00010101 with the own words "date" and "grape" and empty companions.
#include <cstdint>
#include <filesystem>
#include <string>

#include "dict/dict_id.h"
#include "lang/lang_ops.h"
#include "support/store_records.h"
#include "support/temp_dir.h"
#include "support/test_module.h"
#include "update/owner_word_import.h"

using namespace orvia;

namespace {

constexpr uint32_t kDictId = 0x00010101;
const uint32_t kIndexes[] = {kDictId, dict::recordDictId(kDictId), dict::memDictId(kDictId)};

std::string fileOf(const std::string& folder, uint32_t id, const char* extension) {
  char name[dict::kFileNameBufferSize];
  dict::buildDictFileName(id, name, extension);
  return folder + "/" + name;
}

// The template folder, made once, and the work folder the registry's "PATH" names.
const std::string& root() {
  static const std::string path = [] {
    const std::string dir = testing::makeTempDir("orvia-exchange-fuzz");
    testing::loadModuleOverTestRegistry(dir);
    testing::writeTestKey("\"PATH\"=\"" + dir + "/work\"\r\n");
    std::filesystem::create_directory(dir + "/template");
    for (uint32_t id : kIndexes) dbCreate(fileOf(dir + "/template", id, ".IDX").c_str());
    DBHANDLE db =
        dbOpen(fileOf(dir + "/template", kDictId, ".IDX").c_str(), lang::getCompareKeysFn(1));
    for (const char* word : {"date", "grape"})
      testing::insertArea(db, testing::area(word, word) + '\xB8', 0x100, kDictId);
    dbClose(db);
    for (uint32_t id : {kIndexes[1], kIndexes[2]})
      testing::writeFileBytes(fileOf(dir + "/template", id, ".DAT"), std::string(4, '\0'));
    return dir;
  }();
  return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string work = root() + "/work";
  std::error_code ignored;
  std::filesystem::remove_all(work, ignored);
  std::filesystem::copy(root() + "/template", work, ignored);
  const std::string path = work + "/input.fwos";
  if (!testing::writeFileBytes(path, std::string(data, data + size))) return 0;
  uint32_t count = 0;
  update::countImportOwnerWords(kDictId, path.c_str(), &count);
  update::importOwnerWords(kDictId, path.c_str(), nullptr);
  for (uint32_t id : kIndexes)
    if (!testing::verifyReport(fileOf(work, id, ".IDX"), lang::getCompareKeysFn(1)).empty())
      __builtin_trap();
  return 0;
}
