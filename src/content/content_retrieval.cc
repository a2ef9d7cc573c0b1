#include "content/content_retrieval.h"

#include <cstring>

#include "content/content_record.h"
#include "content/file_access.h"
#include "content/user_entry_file.h"
#include "dict/config.h"
#include "dict/dict_id.h"
#include "dict/dictionary.h"
#include "dict/heap_buffer.h"
#include "dict/search.h"
#include "platform/platform.h"

namespace orvia::content {
namespace {

using dict::IndexRecordView;

constexpr char kEndMarker[] = "~!";
constexpr uint32_t kEndMarkerLength = 2;

// Notes of a memory-form dictionary read as another dictionary's content carry the end
// marker, so callers can tell them from the entry they annotate.
bool takesEndMarker(uint32_t contentDictId, uint32_t ownDictId) {
  return dict::isMemoryFormId(contentDictId) && !dict::isMemoryFormId(ownDictId);
}

// The data file or user-entry file that holds a record's content, closed on every path.
class ContentSourceFile {
 public:
  ~ContentSourceFile() { closeFile(file_); }

  Status open(const HWORD* word, const IndexRecordView& view) {
    char name[dict::kFileNameBufferSize] = {};
    uint32_t size = sizeof name;
    if (dbGetData(word->dict->db, view.contentDictId, name, &size) == 0)
      return Status(Cause::kStoreFailed);
    name[sizeof name - 1] = '\0';
    char path[dict::kMaxPath];
    if (dict::resolveDictFilePath(view.contentDictId, path, sizeof path, name) == 0)
      return Status(Cause::kNotConfigured);
    file_ = openFileRead(path);
    return file_ != kInvalidFile ? Status() : Status(Cause::kReadFailed);
  }
  FileHandle handle() const { return file_; }

 private:
  FileHandle file_ = kInvalidFile;
};

// Where a data-file record starts: the locator, or the extended reference behind the
// strings when the locator is all ones. The top byte of contentRef is the level.
bool dataFileOffset(const IndexRecordView& view, uint32_t* offset) {
  *offset = view.contentRef & 0xFFFFFF;
  return *offset != dict::kExtendedLocator || view.extendedRef(offset);
}

}  // namespace

Status recordContentSize(FileHandle file, const IndexRecordView& view, uint32_t* size,
                         DataFileSet* files) {
  if (dict::isUserEntryId(view.contentDictId)) {
    *size = userEntryContentLength(file, view.contentRef);
    return *size != 0 ? Status() : Status(Cause::kDamaged, view.contentRef);
  }
  uint32_t offset;
  if (!dataFileOffset(view, &offset)) return Status(Cause::kDamaged);
  return files != nullptr ? contentSizeAt(*files, file, offset, size)
                          : contentSizeAt(file, offset, size);
}

Status recordContentText(FileHandle file, const IndexRecordView& view, char* buffer,
                         uint32_t capacity, uint32_t* length, DataFileSet* files) {
  if (dict::isUserEntryId(view.contentDictId)) {
    *length = readUserEntryContent(file, view.contentRef, buffer, capacity);
    if (*length != 0) return Status();
    // Entries are never empty, so a stored length that fits means the blocks are bad.
    return Status(whyNoText(userEntryContentLength(file, view.contentRef), capacity),
                  view.contentRef);
  }
  uint32_t offset;
  if (!dataFileOffset(view, &offset)) return Status(Cause::kDamaged);
  return files != nullptr ? contentTextAt(*files, file, offset, buffer, capacity, length)
                          : contentTextAt(file, offset, buffer, capacity, length);
}

namespace {

// Appends the end marker behind length bytes of text; fails with an empty buffer when
// the marker and its terminator do not fit.
Status appendEndMarker(char* buffer, uint32_t length, uint32_t capacity, uint32_t* total) {
  if (uint64_t(length) + kEndMarkerLength >= capacity) {
    buffer[0] = '\0';
    return Status(Cause::kNoRoom);
  }
  std::memcpy(buffer + length, kEndMarker, kEndMarkerLength + 1);
  if (buffer[1] == 'Y') buffer[1] = 'A';
  *total = length + kEndMarkerLength;
  return Status();
}

// A dictionary opened for one call, and the word found in it; both released on every
// path.
class TemporaryLookup {
 public:
  ~TemporaryLookup() {
    if (word_.record != nullptr) platform::heapFree(platform::processHeap(), word_.record);
    dict::closeDictionary(&dictionary_);
  }
  Status open(uint32_t id) { return dict::openDictionary(&dictionary_, id); }
  HDICT* dictionary() { return &dictionary_; }
  Status find(const char* key) { return dict::findNearestRecord(&dictionary_, &word_, key); }
  const HWORD* word() const { return &word_; }

 private:
  HDICT dictionary_ = {};
  HWORD word_ = {};
};

enum class Source { kDamagedRecord, kIncompatible, kWordItself, kOtherDictionary };

// Which record a dictId selects for a word.
Source chooseSource(const HWORD* word, uint32_t dictId, IndexRecordView* view) {
  if (!dict::wordRecord(word, view)) return Source::kDamagedRecord;
  const uint32_t own = word->dict->dictId;
  if (dictId == own) return Source::kWordItself;
  if (dictId == view->contentDictId && !dict::isMemoryFormId(dictId)) return Source::kWordItself;
  if (!dict::isValidDictId(dictId) || !dict::dictIdsCompatible(dictId, own))
    return Source::kIncompatible;
  return Source::kOtherDictionary;
}

// Runs read(chosen word, own dictionary id) on the record dictId selects.
template <typename Read>
Status readChosen(const HWORD* word, uint32_t dictId, Read read) {
  IndexRecordView view;
  switch (chooseSource(word, dictId, &view)) {
    case Source::kDamagedRecord:
      return Status(Cause::kDamaged);
    case Source::kIncompatible:
      return Status(Cause::kInvalidId);
    case Source::kWordItself:
      return read(word, word->dict->dictId);
    case Source::kOtherDictionary:
      break;
  }
  TemporaryLookup other;
  Status status = other.open(dictId);
  if (!status.ok()) return status;
  if (keyExistsIn(other.dictionary(), view.searchKey) == 0) return Status(Cause::kEmpty);
  status = other.find(view.searchKey);
  return status.ok() ? read(other.word(), word->dict->dictId) : status;
}

}  // namespace

int keyExistsIn(HDICT* dictionary, const char* key) {
  if (dbSeek(dictionary->db, key) == 0) return 0;
  HeapBuffer block(dict::kRecordBlockSize);
  IndexRecordView view;
  if (block.data() == nullptr || !dict::readCurrentRecord(dictionary->db, block.data(), &view).ok())
    return 0;
  return view.searchKeyLength == std::strlen(key) &&
         std::memcmp(view.searchKey, key, view.searchKeyLength) == 0;
}

// An unreadable body still takes the end marker below: such a note reads as "~!" alone.
Status wordContentSize(const HWORD* word, uint32_t ownDictId, uint32_t* size) {
  IndexRecordView view;
  if (!dict::wordRecord(word, &view)) return Status(Cause::kDamaged);
  Status status;
  {
    ContentSourceFile file;
    Status opened = file.open(word, view);
    if (!opened.ok()) return opened;
    status = recordContentSize(file.handle(), view, size);
  }
  if (!takesEndMarker(view.contentDictId, ownDictId)) return status;
  const uint32_t body = status.ok() ? *size : 0;
  if (body > UINT32_MAX - kEndMarkerLength) return Status(Cause::kDamaged);
  *size = body + kEndMarkerLength;
  return Status();
}

Status wordContentRead(const HWORD* word, uint32_t ownDictId, char* buffer, uint32_t capacity,
                       uint32_t* length) {
  IndexRecordView view;
  if (!dict::wordRecord(word, &view)) return Status(Cause::kDamaged);
  Status status;
  {
    ContentSourceFile file;
    Status opened = file.open(word, view);
    if (!opened.ok()) return opened;
    status = recordContentText(file.handle(), view, buffer, capacity, length);
  }
  if (!status.ok()) buffer[0] = '\0';
  if (!takesEndMarker(view.contentDictId, ownDictId)) return status;
  return appendEndMarker(buffer, status.ok() ? *length : 0, capacity, length);
}

int contentExists(const HWORD* word, uint32_t dictId) {
  IndexRecordView view;
  uint32_t size = 0;
  switch (chooseSource(word, dictId, &view)) {
    case Source::kDamagedRecord:
    case Source::kIncompatible:
      return 0;
    case Source::kWordItself:
      return wordContentSize(word, word->dict->dictId, &size).ok();
    case Source::kOtherDictionary:
      break;
  }
  TemporaryLookup other;
  return other.open(dictId).ok() && keyExistsIn(other.dictionary(), view.searchKey);
}

Status contentSize(const HWORD* word, uint32_t dictId, uint32_t* size) {
  return readChosen(word, dictId, [&](const HWORD* chosen, uint32_t own) {
    return wordContentSize(chosen, own, size);
  });
}

Status contentText(const HWORD* word, uint32_t dictId, char* buffer, uint32_t capacity,
                   uint32_t* length) {
  return readChosen(word, dictId, [&](const HWORD* chosen, uint32_t own) {
    return wordContentRead(chosen, own, buffer, capacity, length);
  });
}

}  // namespace orvia::content
