#include "content/data_file_set.h"

#include <cstring>
#include <map>

#include "base/bytes.h"
#include "content/huffman_tree_loader.h"
#include "content/record_reader.h"
#include "dict/config.h"

namespace orvia::content {

struct DataFileSet::File {
  std::string path;
  FileHandle handle = kInvalidFile;
  // Entries of the file-index table resolved and opened so far, by k.
  std::map<uint32_t, File*> further;
  std::unique_ptr<HuffmanDecoder> decoder;  // null until the trees were read
  bool usable = false;
};

DataFileSet::DataFileSet(DictPathResolver resolve) : resolve_(resolve) {}
DataFileSet::DataFileSet() : DataFileSet(&dict::resolveDictFilePath) {}

DataFileSet::~DataFileSet() {
  for (const auto& file : files_) closeFile(file->handle);
}

// A dictionary has a main data file and a few further ones: a look along the list costs
// less than a map.
DataFileSet::File* DataFileSet::find(FileHandle handle) {
  if (handle == kInvalidFile) return nullptr;
  for (const auto& file : files_)
    if (file->handle == handle) return file.get();
  return nullptr;
}

FileHandle DataFileSet::open(const char* path) {
  if (path == nullptr) return kInvalidFile;
  for (const auto& file : files_)
    if (file->path == path) return file->handle;
  FileHandle handle = openFileRead(path);
  if (handle == kInvalidFile) return kInvalidFile;
  files_.push_back(std::make_unique<File>());
  files_.back()->path = path;
  files_.back()->handle = handle;
  return handle;
}

FileHandle DataFileSet::further(FileHandle handle, uint32_t k, const char** path) {
  File* file = find(handle);
  if (file == nullptr) return kInvalidFile;
  auto known = file->further.find(k);
  if (known == file->further.end()) {
    char resolved[kMaxPathSize];
    if (!resolveFileIndexEntry(handle, k, resolve_, resolved)) return kInvalidFile;
    File* target = find(open(resolved));
    if (target == nullptr) return kInvalidFile;
    known = file->further.emplace(k, target).first;
  }
  *path = known->second->path.c_str();
  return known->second->handle;
}

const HuffmanDecoder* DataFileSet::huffmanTrees(FileHandle handle, bool* usable) {
  File* file = find(handle);
  if (file == nullptr) return nullptr;
  if (file->decoder == nullptr) {
    HuffmanTreeBlock block;
    if (!block.read(handle)) return nullptr;
    auto decoder = std::make_unique<HuffmanDecoder>();
    file->usable = block.derive(decoder.get());
    file->decoder = std::move(decoder);
  }
  *usable = file->usable;
  return file->decoder.get();
}

Status DataFileSet::record(FileHandle handle, uint32_t offset, const uint8_t** bytes) {
  File* file = find(handle);
  if (file == nullptr) return Status(Cause::kReadFailed);
  if (keptFile_ != file || keptOffset_ != offset) {
    keptFile_ = nullptr;
    const Status read = readRecordAt(handle, offset, kept_);
    if (!read.ok()) return read;
    keptFile_ = file;
    keptOffset_ = offset;
  }
  *bytes = kept_.data();
  return Status();
}

bool DataFileSet::recordHeader(FileHandle handle, uint32_t offset, uint32_t* header) {
  File* file = find(handle);
  if (file == nullptr) return false;
  if (keptFile_ == file && keptOffset_ == offset) {
    *header = loadU32Le(kept_.data());
    return true;
  }
  return readU32At(handle, offset, header);
}

}  // namespace orvia::content
