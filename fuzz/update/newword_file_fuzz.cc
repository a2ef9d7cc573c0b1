// Property: checking and extracting any file never reads or writes out of bounds, and
// whatever extraction writes is exactly the two images the header marks out, over older
// and longer companion files.
// Input: the new-word file itself. Each run starts from a fresh folder.
#include <cstdint>
#include <filesystem>
#include <string>

#include "base/bytes.h"
#include "dict/dict_id.h"
#include "support/temp_dir.h"
#include "support/test_module.h"
#include "update/newword_extract.h"
#include "update/newword_file.h"

using namespace orvia;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // A folder the registry's "PATH" names, for the whole run.
  static const std::string folder = [] {
    const std::string root = testing::makeTempDir("orvia-newword-fuzz");
    testing::loadModuleOverTestRegistry(root);
    testing::writeTestKey("\"PATH\"=\"" + root + "/work\"\r\n");
    return root + "/work";
  }();
  const std::string input(data, data + size), path = folder + "/input.bin";
  std::error_code ignored;
  std::filesystem::remove_all(folder, ignored);
  std::filesystem::create_directory(folder, ignored);
  if (!testing::writeFileBytes(path, input) || size < 4) return 0;
  std::string companion[2];  // the index, then the data file, of the target's companion
  for (int i = 0; i < 2; ++i) {
    char name[dict::kFileNameBufferSize];
    dict::buildDictFileName(dict::newWordDictId(loadU32Le(data)), name, i == 0 ? ".IDX" : ".DAT");
    testing::writeFileBytes(companion[i] = folder + "/" + name, std::string(3000, 'o'));
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
  return 0;
}
