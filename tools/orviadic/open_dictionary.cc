#include "open_dictionary.h"

#include <string>

#include "cli.h"
#include "dict/config.h"
#include "dict/dict_id.h"
#include "orviadb.h"
#include "platform/platform.h"

namespace orviadic {
namespace {

// Retraces the library's steps to name the one that failed.
std::string whyNotOpened(uint32_t dictId) {
  using namespace orvia::dict;
  if (!isValidDictId(dictId))
    return formatDictId(dictId) +
           " is not a valid dictionary id (its three low bytes must be non-zero)";
  const std::string path = indexPathOf(dictId);
  if (path.empty()) {
    char digits[9];
    formatDictIdHex(dictId, digits);
    return std::string("no usable registry value ") + digits +
           "Path, its base's Path or PATH (see 'orviadic config show')";
  }
  if (!orvia::platform::findFile(path.c_str())) return "no index file " + path;
  char report[256];
  if (dbVerify(path.c_str(), nullptr, report, sizeof report) == 0) return path + ": " + report;
  return "cannot open " + path;
}

}  // namespace

namespace {

std::string textOf(HWORD* word, uint32_t (*sizeOf)(HWORD*),
                   int32_t (*copy)(HWORD*, char*, uint32_t)) {
  std::string text(sizeOf(word) + 1, '\0');
  if (copy(word, text.data(), uint32_t(text.size())) == 0) return std::string();
  text.pop_back();
  return text;
}

}  // namespace

std::string dictionaryFilePath(uint32_t dictId, const char* fileName) {
  using namespace orvia::dict;
  if (!moduleState().loaded) moduleLoad(nullptr);
  char path[kMaxPath];
  if (resolveDictFilePath(dictId, path, sizeof path, fileName) == 0) return std::string();
  return path;
}

std::string indexPathOf(uint32_t dictId) {
  char name[orvia::dict::kFileNameBufferSize];
  orvia::dict::buildDictFileName(dictId, name, ".IDX");
  return dictionaryFilePath(dictId, name);
}

std::string keyOf(HWORD* word) {
  return textOf(word, dicGetKeySize, dicGetKey);
}
std::string wordOf(HWORD* word) {
  return textOf(word, dicGetWordSize, dicGetWord);
}

OpenDictionary::OpenDictionary(uint32_t dictId) : dict_(dicCreateHDICT(dictId)) {
  if (dict_ == nullptr) throw CommandFailure{kExitError, whyNotOpened(dictId)};
}

OpenDictionary::~OpenDictionary() {
  dicFreeHDICT(dict_);
}

}  // namespace orviadic
