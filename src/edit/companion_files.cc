#include "edit/companion_files.h"

#include "dict/config.h"
#include "dict/dictionary.h"

namespace orvia::edit {

DataFileName::DataFileName(uint32_t id) {
  dict::buildDictFileName(id, text, ".DAT");
}

Status UserEntryFileHandle::open(uint32_t id) {
  return openWith(id, content::openFileReadWrite);
}

Status UserEntryFileHandle::openForReading(uint32_t id) {
  return openWith(id, content::openFileRead);
}

Status UserEntryFileHandle::openWith(uint32_t id, content::FileHandle (*opener)(const char*)) {
  char path[dict::kMaxPath];
  if (dict::resolveDictFilePath(id, path, sizeof path, DataFileName(id).text) == 0)
    return Cause::kNotConfigured;
  // The opener gives a handle of the file's own, which keeps no pointer to the path.
  // cppcheck-suppress danglingLifetime
  file_ = opener(path);
  // cppcheck-suppress danglingLifetime
  return file_ != content::kInvalidFile ? Status() : Status(Cause::kFileMissing);
}

TemporaryDictionary::~TemporaryDictionary() {
  dict::closeDictionary(&dict_);
}

Status TemporaryDictionary::open(uint32_t id) {
  return dict::openDictionary(&dict_, id);
}

}  // namespace orvia::edit
