#include "open_dictionary.h"

#include <string>

#include "content/content_retrieval.h"
#include "conventions.h"
#include "dict/config.h"
#include "dict/dictionary.h"
#include "dict/failure_text.h"
#include "dict/search.h"

namespace orviadic {
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
  char path[kMaxPath];
  if (resolveDictFilePath(dictId, path, sizeof path, fileName) == 0) return std::string();
  return path;
}

std::string indexPathOf(uint32_t dictId) {
  char path[orvia::dict::kMaxPath];
  return orvia::dict::resolveIndexPath(dictId, path) != 0 ? path : std::string();
}

std::string keyOf(HWORD* word) {
  return textOf(word, dicGetKeySize, dicGetKey);
}
std::string wordOf(HWORD* word) {
  return textOf(word, dicGetWordSize, dicGetWord);
}

OpenDictionary::OpenDictionary(uint32_t dictId) : dictId_(dictId), dict_(dicCreateHDICT(dictId)) {
  if (dict_ != nullptr) return;
  const orvia::Status status = orvia::dict::probeOpen(dictId);
  // Where the registry leads nowhere the dictionary is simply not installed; 'config
  // show' tells the rest.
  if (status.cause() == orvia::Cause::kNotConfigured)
    throw CommandFailure{kExitError, "no dictionary " + formatDictId(dictId) + " is installed"};
  throw CommandFailure{kExitError, orvia::dict::describeFailure(dictId, status)};
}

OpenDictionary::~OpenDictionary() {
  dicFreeHDICT(dict_);
}

WordHandle OpenDictionary::search(const std::string& word) const {
  WordHandle found(dicSearchWord(dict_, word.c_str()), dicFreeHWORD);
  if (found) return found;
  HWORD* again = nullptr;
  const orvia::Status status = orvia::dict::searchWord(dict_, word.c_str(), &again);
  if (status.ok()) return WordHandle(again, dicFreeHWORD);
  throw CommandFailure{status.cause() == orvia::Cause::kEmpty ? kExitNotFound : kExitError,
                       orvia::dict::describeFailure(dictId_, status)};
}

orvia::Status readContent(HWORD* word, uint32_t dictId, std::string* text) {
  // Most entries fit a first buffer of one page, which spares decoding them twice: once
  // for their size and once for their text. A longer one is read at the size it has.
  constexpr uint32_t kFirstCapacity = 4096;
  text->assign(kFirstCapacity, '\0');
  uint32_t length = dicGetContent(word, dictId, text->data(), kFirstCapacity);
  uint32_t size = 0;
  if (length == 0) {
    size = dicGetContentSize(word, dictId);
    text->assign(size_t(size) + 1, '\0');
    length = size == 0 ? 0 : dicGetContent(word, dictId, text->data(), size + 1);
  }
  if (length != 0) {
    text->resize(length);
    return orvia::Status();
  }
  uint32_t ignored = 0;
  (*text)[0] = '\0';
  const orvia::Status cause =
      size == 0 ? orvia::content::contentSize(word, dictId, &ignored)
                : orvia::content::contentText(word, dictId, text->data(), size + 1, &ignored);
  text->clear();
  // The exports said no; a cause that says otherwise (the files changed in between)
  // still reports a failure.
  return cause.ok() ? orvia::Status(orvia::Cause::kReadFailed) : cause;
}

}  // namespace orviadic
