// Property: checking and extracting any file never reads or writes out of bounds, and
// whatever extraction writes is exactly the two images the header marks out, over older
// and longer companion files.
// Input: the new-word file itself. Each run starts from a fresh folder.
#include <cstdint>
#include <filesystem>
#include <string>

#include "base/bytes.h"
#include "dict/config.h"
#include "dict/dict_id.h"
#include "support/temp_dir.h"
#include "support/test_registry.h"
#include "update/newword_extract.h"
#include "update/newword_file.h"

using namespace orvia;

namespace {

// A folder the registry's "PATH" names, for the whole run.
const std::string& folder() {
  static const std::string path = [] {
    const std::string root = testing::makeTempDir("orvia-newword-fuzz");
    testing::enterTestRegistry(root);
    testing::writeTestKey("\"PATH\"=\"" + root + "/work\"\r\n");
    dict::moduleLoad(nullptr);
    dict::setRegistryKey(testing::testKeyRoot(), testing::testKeyPath());
    return root + "/work";
  }();
  return path;
}

std::string companionFile(uint32_t target, const char* extension) {
  char name[dict::kFileNameBufferSize];
  dict::buildDictFileName(dict::newWordDictId(target), name, extension);
  return folder() + "/" + name;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string input(data, data + size);
  std::error_code ignored;
  std::filesystem::remove_all(folder(), ignored);
  std::filesystem::create_directory(folder(), ignored);
  const std::string path = folder() + "/input.bin";
  if (!testing::writeFileBytes(path, input) || size < 4) return 0;
  const uint32_t target = loadU32Le(data);
  const std::string old(3000, 'o');
  testing::writeFileBytes(companionFile(target, ".IDX"), old);
  testing::writeFileBytes(companionFile(target, ".DAT"), old);

  content::FileHandle file = content::openFileRead(path.c_str());
  update::checkNewWordFile(file);
  update::NewWordFileHeader header;
  if (update::readNewWordHeader(file, &header) != 0 && update::extractNewWordFile(file).ok()) {
    const uint64_t contentAt = uint64_t(header.headerSize) + header.indexImageSize;
    if (testing::readFileBytes(companionFile(target, ".IDX")) !=
            input.substr(header.headerSize, header.indexImageSize) ||
        testing::readFileBytes(companionFile(target, ".DAT")) !=
            input.substr(size_t(contentAt), header.contentImageSize))
      __builtin_trap();
  }
  content::closeFile(file);
  content::closeFile(update::openNewWordFile(path.c_str()));
  return 0;
}
