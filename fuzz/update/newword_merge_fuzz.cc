// Property: merging any file into a small dictionary never reads or writes out of bounds
// nor crashes, and leaves every index it wrote to whole for the store's own check.
// Input: the new-word file, whose header this target mends (its target becomes
// 0x01010101, its sizes agree with the input) so that runs reach the merge. Each run
// starts from a fresh copy of the dictionaries.
#include <cstdint>
#include <filesystem>
#include <string>

#include "base/bytes.h"
#include "compile/newword_target.h"
#include "lang/lang_ops.h"
#include "support/temp_dir.h"
#include "support/test_module.h"
#include "update/newword_merge.h"

using namespace orvia;
namespace fs = std::filesystem;

namespace {

// The template world, made once: target 0x01010101, its installed dictionary 0x00010101
// (a copy of it) and the installed dictionary's empty record and memory companions.
const std::string& root() {
  static const std::string path = [] {
    const std::string dir = testing::makeTempDir("orvia-merge-fuzz");
    testing::loadModuleOverTestRegistry(dir);
    testing::writeTestKey("\"PATH\"=\"" + dir + "/work\"\r\n");
    const std::string base = dir + "/template";
    fs::create_directory(base);
    compile::CompiledDictionary compiled;
    std::string problem;
    if (!compile::createNewWordTarget(0x01010101, base, &compiled, &problem)) __builtin_trap();
    fs::copy_file(base + "/01010101.IDX", base + "/00010101.IDX");
    for (const char* name : {"7F010101", "FF010101"}) {
      dbCreate((base + "/" + name + ".IDX").c_str());
      testing::writeFileBytes(base + "/" + name + ".DAT", std::string(4, '\0'));
    }
    return dir;
  }();
  return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 40) return 0;
  std::string input(data, data + size);
  auto* header = reinterpret_cast<uint8_t*>(input.data());
  storeU32Le(header, 0x01010101);
  storeU32Le(header + 24, 40);
  const uint32_t images = uint32_t(size - 40), index = loadU32Le(header + 28) % (images + 1);
  storeU32Le(header + 28, index);
  storeU32Le(header + 32, images - index);
  storeU32Le(header + 36, images);
  const std::string work = root() + "/work";
  std::error_code ignored;
  fs::remove_all(work, ignored);
  fs::copy(root() + "/template", work, ignored);
  testing::writeFileBytes(work + "/input.bin", input);
  update::mergeNewWordFile((work + "/input.bin").c_str(), update::MergeProgress());
  char report[128];
  for (const char* name : {"01010101", "00010101", "7F010101", "FF010101"})
    if (dbVerify((work + "/" + name + ".IDX").c_str(), lang::getCompareKeysFn(1), report,
                 sizeof report) == 0)
      __builtin_trap();
  return 0;
}
