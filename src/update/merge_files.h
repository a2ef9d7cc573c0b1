// Everything a merge opens, opened once per merge in a fixed order and closed on every
// way out. The dictionaries are all named from the file's target T: its new-word
// companion, T itself (its list, index and data file, or the shared index in server data
// mode) and, for targets of kinds 0x01 to 0x7F, the installed dictionary with its record
// and memory companions.
#pragma once

#include <cstdint>

#include "base/result.h"
#include "content/file_access.h"
#include "dict/dict_id.h"
#include "lang/lang_ops.h"
#include "orviadb.h"

namespace orvia::update {

class ScopedFile {
 public:
  ScopedFile() = default;
  ~ScopedFile() { content::closeFile(file_); }
  ScopedFile(const ScopedFile&) = delete;
  ScopedFile& operator=(const ScopedFile&) = delete;
  void reset(content::FileHandle file) { file_ = file; }
  content::FileHandle get() const { return file_; }

 private:
  content::FileHandle file_ = content::kInvalidFile;
};

class ScopedIndex {
 public:
  ScopedIndex() = default;
  ~ScopedIndex() {
    if (db_ != nullptr) dbClose(db_);
  }
  ScopedIndex(const ScopedIndex&) = delete;
  ScopedIndex& operator=(const ScopedIndex&) = delete;
  void reset(DBHANDLE db) { db_ = db; }
  DBHANDLE get() const { return db_; }

 private:
  DBHANDLE db_ = nullptr;
};

struct MergeFiles {
  ScopedFile newWordData;  // read only
  ScopedIndex newWordIndex;
  ScopedFile list;        // created empty
  ScopedIndex shared;     // server data mode only
  ScopedFile targetData;  // otherwise
  ScopedIndex target;
  ScopedIndex installed;  // kinds 0x01 to 0x7F only, as are the four below
  ScopedFile recordData;
  ScopedIndex recordIndex;
  ScopedFile memoryData;
  ScopedIndex memoryIndex;
};

// Whether a target of this id also feeds its installed dictionary and user companions.
constexpr bool feedsInstalledDictionary(uint32_t target) {
  const uint32_t kind = dict::companionKindOf(target);
  return dict::isValidDictId(target) && kind >= 0x01 && kind <= dict::kNewWordKind;
}

// Opens the files of a merge into T in order: the companion's data file and index, the
// list (created or emptied), the shared index or T's data file, T's index and, when T
// feeds its installed dictionary, that one's index and the record and memory companions'
// data files and indexes. Stops at the first failure: kNotConfigured when no registry
// value gives a folder, kFileMissing or kNotAnIndex when a file cannot be opened, kEmpty
// when T's index holds no record (a merge needs a word of T to seek beside).
Status openMergeFiles(uint32_t target, lang::CompareKeysFn compare, uint32_t serverDataMode,
                      MergeFiles* files);

}  // namespace orvia::update
