// An open index: one handle with one cursor over an index file shared with other handles
// and processes. Reads take no lock unless another handle committed since the last
// operation; writes hold the file's exclusive lock. Not thread-safe: one thread at a
// time per handle.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "db/index_content.h"
#include "db/index_loader.h"
#include "orviadb.h"
#include "platform/file.h"

namespace orvia::db {

struct OpenOptions {
  bool readOnly = false;
  // A write compacts once the log outgrows both this and a quarter of the segment.
  uint64_t compactMinLogBytes = 1 << 20;
};

struct NewRecord {
  const uint8_t* contentName = nullptr;  // 16 bytes
  uint32_t contentDictId = 0;
  uint32_t contentRef = 0;
  const uint8_t* data = nullptr;
  uint32_t dataLength = 0;
};

class Database {
 public:
  // Null when the file is missing, empty, not an index or damaged.
  static std::unique_ptr<Database> open(const std::string& path, DbCompareFn compare,
                                        const OpenOptions& options);
  ~Database();
  Database(const Database&) = delete;
  Database& operator=(const Database&) = delete;

  // Makes this handle's writes durable. False when that fails; the handle stays usable.
  bool close();

  bool seek(const char* key);
  bool gotoRecord(uint32_t n);
  bool prev();
  bool next();
  // Copies the current record with its number; false when it does not fit in *size.
  bool getRecord(uint32_t* size, uint8_t* buffer);
  // The dbSearch protocol; buffer may be null when *size is 0.
  bool search(uint32_t first, uint32_t count, uint32_t* size, uint8_t* buffer);
  bool insert(const NewRecord& record);
  bool erase(uint32_t n);
  bool contentName(uint32_t contentDictId, uint8_t* name);
  bool recordCount(uint32_t* count);
  bool compact();

 private:
  // The store's tests read the cursor, which no call shows while the index is empty.
  friend struct DatabaseTestAccess;

  struct State {
    IndexHeader header;
    LoadedSegment segment;
    std::unique_ptr<IndexContent> content;
    uint64_t logEnd = 0;
    uint64_t counter = 0;
  };
  enum class Cursor { kKeepPosition, kFindRecord };

  Database(std::string path, DbCompareFn compare, const OpenOptions& options);
  // Brings the state up to what the file holds; cheap when nothing changed.
  bool refresh();
  // REQUIRES: the file lock is held. forWrite cuts a torn tail off the file.
  bool syncWithFile(bool forWrite, Cursor cursor);
  bool load(const IndexHeader& header, uint64_t fileSize, uint64_t counter, State* out);
  void placeCursorOn(const std::string& record);
  void onChange(uint8_t kind, uint32_t position);
  bool appendEntry(const std::string& entry);
  void bumpCounter();
  bool compactLocked();
  void maybeCompact();

  std::string path_;
  DbCompareFn compare_;
  OpenOptions options_;
  std::unique_ptr<platform::File> file_;
  std::unique_ptr<platform::FileMapping> fileMap_;  // [0, log offset): prefix and in-file segment
  State state_;
  uint32_t cursor_ = 0;  // on a record when below the count
  bool wrote_ = false;
};

}  // namespace orvia::db
