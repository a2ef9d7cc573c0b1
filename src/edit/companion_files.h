// The files of a record or memory dictionary that its writers open: the user-entry file
// and the index. Both must exist; nothing here creates them.
#pragma once

#include <cstdint>

#include "base/result.h"
#include "content/file_access.h"
#include "dict/dict_id.h"
#include "dict/handles.h"

namespace orvia::edit {

// Eight hexadecimal digits of id and ".DAT", in the 16-byte buffer dbInsert keeps.
struct DataFileName {
  explicit DataFileName(uint32_t id);
  char text[dict::kFileNameBufferSize] = {};
};

// A companion's user-entry file open for reading and writing, closed on every path.
class UserEntryFileHandle {
 public:
  UserEntryFileHandle() = default;
  ~UserEntryFileHandle() { content::closeFile(file_); }
  UserEntryFileHandle(const UserEntryFileHandle&) = delete;
  UserEntryFileHandle& operator=(const UserEntryFileHandle&) = delete;

  // kNotConfigured when no registry value gives its folder, kFileMissing when it cannot
  // be opened.
  Status open(uint32_t id);
  // The same for readers, who never write it.
  Status openForReading(uint32_t id);
  content::FileHandle get() const { return file_; }

 private:
  Status openWith(uint32_t id, content::FileHandle (*opener)(const char*));

  content::FileHandle file_ = content::kInvalidFile;
};

// A companion's index opened for one call and closed on every path.
class TemporaryDictionary {
 public:
  TemporaryDictionary() = default;
  ~TemporaryDictionary();
  TemporaryDictionary(const TemporaryDictionary&) = delete;
  TemporaryDictionary& operator=(const TemporaryDictionary&) = delete;

  // openDictionary's causes.
  Status open(uint32_t id);
  HDICT* get() { return &dict_; }

 private:
  HDICT dict_ = {0, nullptr};
};

}  // namespace orvia::edit
