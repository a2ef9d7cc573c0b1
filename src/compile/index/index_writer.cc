#include "compile/index/index_writer.h"

#include <filesystem>

#include "dict/dict_id.h"
#include "lang/lang_ops.h"
#include "platform/file.h"

namespace orvia::compile {

std::string dictFilePath(const std::string& folder, uint32_t dictId, const char* extension) {
  char name[dict::kFileNameBufferSize];
  dict::buildDictFileName(dictId, name, extension);
  return (std::filesystem::path(folder) / name).string();
}

std::string indexFilePath(const std::string& folder, uint32_t dictId) {
  return dictFilePath(folder, dictId, ".IDX");
}

namespace {

namespace fs = std::filesystem;

// The store refuses to overwrite, and a reader must never see half an index.
std::string partialIndexPath(const std::string& folder, uint32_t dictId) {
  return indexFilePath(folder, dictId) + ".part";
}

}  // namespace

bool bulkLoadIndex(const std::string& path, uint32_t dictId, const CompiledIndex& index,
                   std::string* problem) {
  std::error_code error;
  fs::remove(path, error);
  if (index.recordCount == 0) {
    *problem = "no entry could be compiled";
    return false;
  }
  if (index.records.size() > UINT32_MAX) {
    *problem = "the index passes 4 GiB";
    return false;
  }
  DbCompareFn compare = lang::getCompareKeysFn(lang::languageOf(dictId));
  if (dbBulkLoad(path.c_str(), compare, index.records.data(), uint32_t(index.records.size()),
                 index.recordCount, &index.contentName, 1) == 0) {
    fs::remove(path, error);
    *problem = "the record store could not write " + path;
    return false;
  }
  return true;
}

bool writeIndexFile(const std::string& folder, uint32_t dictId, const CompiledIndex& index,
                    std::string* problem) {
  return bulkLoadIndex(partialIndexPath(folder, dictId), dictId, index, problem);
}

bool installIndexFile(const std::string& folder, uint32_t dictId, std::string* problem) {
  const std::string path = indexFilePath(folder, dictId);
  const std::string partial = partialIndexPath(folder, dictId);
  if (platform::replaceFile(partial.c_str(), path.c_str())) return true;
  discardIndexFile(folder, dictId);
  *problem = "cannot replace " + path;
  return false;
}

void discardIndexFile(const std::string& folder, uint32_t dictId) {
  std::error_code error;
  fs::remove(partialIndexPath(folder, dictId), error);
}

}  // namespace orvia::compile
