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

  bool open(const HWORD* word, const IndexRecordView& view) {
    char name[dict::kFileNameBufferSize] = {};
    uint32_t size = sizeof name;
    if (dbGetData(word->dict->db, view.contentDictId, name, &size) == 0) return false;
    name[sizeof name - 1] = '\0';
    char path[dict::kMaxPath];
    if (dict::resolveDictFilePath(view.contentDictId, path, sizeof path, name) == 0) return false;
    file_ = openFileRead(path);
    return file_ != kInvalidFile;
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

uint32_t bodySize(FileHandle file, const IndexRecordView& view) {
  if (dict::isUserEntryId(view.contentDictId)) return userEntryContentLength(file, view.contentRef);
  uint32_t offset;
  return dataFileOffset(view, &offset) ? contentSizeAt(file, offset) : 0;
}

uint32_t bodyText(FileHandle file, const IndexRecordView& view, char* buffer, uint32_t capacity) {
  if (dict::isUserEntryId(view.contentDictId))
    return readUserEntryContent(file, view.contentRef, buffer, capacity);
  uint32_t offset;
  return dataFileOffset(view, &offset) ? contentTextAt(file, offset, buffer, capacity) : 0;
}

// Appends the end marker behind length bytes of text; 0 with an empty buffer when the
// marker and its terminator do not fit.
uint32_t appendEndMarker(char* buffer, uint32_t length, uint32_t capacity) {
  if (uint64_t(length) + kEndMarkerLength >= capacity) {
    buffer[0] = '\0';
    return 0;
  }
  std::memcpy(buffer + length, kEndMarker, kEndMarkerLength + 1);
  if (buffer[1] == 'Y') buffer[1] = 'A';
  return length + kEndMarkerLength;
}

// A dictionary opened for one call, and the word found in it; both released on every
// path.
class TemporaryLookup {
 public:
  ~TemporaryLookup() {
    if (word_.record != nullptr) platform::heapFree(platform::processHeap(), word_.record);
    dict::closeDictionary(&dictionary_);
  }
  bool open(uint32_t id) { return dict::openDictionary(&dictionary_, id).ok(); }
  HDICT* dictionary() { return &dictionary_; }
  bool find(const char* key) { return dict::findNearestRecord(&dictionary_, &word_, key).ok(); }
  const HWORD* word() const { return &word_; }

 private:
  HDICT dictionary_ = {};
  HWORD word_ = {};
};

enum class Source { kNone, kWordItself, kOtherDictionary };

// Which record a dictId selects for a word.
Source chooseSource(const HWORD* word, uint32_t dictId, IndexRecordView* view) {
  if (!dict::wordRecord(word, view)) return Source::kNone;
  const uint32_t own = word->dict->dictId;
  if (dictId == own) return Source::kWordItself;
  if (dictId == view->contentDictId && !dict::isMemoryFormId(dictId)) return Source::kWordItself;
  if (!dict::isValidDictId(dictId) || !dict::dictIdsCompatible(dictId, own)) return Source::kNone;
  return Source::kOtherDictionary;
}

// Runs read(chosen word, own dictionary id) on the record dictId selects; 0 when none
// applies.
template <typename Read>
uint32_t readChosen(const HWORD* word, uint32_t dictId, Read read) {
  IndexRecordView view;
  switch (chooseSource(word, dictId, &view)) {
    case Source::kNone:
      return 0;
    case Source::kWordItself:
      return read(word, word->dict->dictId);
    case Source::kOtherDictionary:
      break;
  }
  TemporaryLookup other;
  if (!other.open(dictId) || keyExistsIn(other.dictionary(), view.searchKey) == 0 ||
      !other.find(view.searchKey))
    return 0;
  return read(other.word(), word->dict->dictId);
}

}  // namespace

int keyExistsIn(HDICT* dictionary, const char* key) {
  if (dbSeek(dictionary->db, key) == 0) return 0;
  HeapBuffer block(dict::kMaxIndexRecordSize);
  IndexRecordView view;
  if (block.data() == nullptr || !dict::readCurrentRecord(dictionary->db, block.data(), &view).ok())
    return 0;
  return view.searchKeyLength == std::strlen(key) &&
         std::memcmp(view.searchKey, key, view.searchKeyLength) == 0;
}

uint32_t wordContentSize(const HWORD* word, uint32_t ownDictId) {
  IndexRecordView view;
  if (!dict::wordRecord(word, &view)) return 0;
  uint32_t size;
  {
    ContentSourceFile file;
    if (!file.open(word, view)) return 0;
    size = bodySize(file.handle(), view);
  }
  if (!takesEndMarker(view.contentDictId, ownDictId)) return size;
  return size <= UINT32_MAX - kEndMarkerLength ? size + kEndMarkerLength : 0;
}

uint32_t wordContentRead(const HWORD* word, uint32_t ownDictId, char* buffer, uint32_t capacity) {
  IndexRecordView view;
  if (!dict::wordRecord(word, &view)) return 0;
  uint32_t length;
  {
    ContentSourceFile file;
    if (!file.open(word, view)) return 0;
    length = bodyText(file.handle(), view, buffer, capacity);
  }
  if (length == 0) buffer[0] = '\0';
  if (!takesEndMarker(view.contentDictId, ownDictId)) return length;
  return appendEndMarker(buffer, length, capacity);
}

int contentExists(const HWORD* word, uint32_t dictId) {
  IndexRecordView view;
  switch (chooseSource(word, dictId, &view)) {
    case Source::kNone:
      return 0;
    case Source::kWordItself:
      return wordContentSize(word, word->dict->dictId) != 0;
    case Source::kOtherDictionary:
      break;
  }
  TemporaryLookup other;
  return other.open(dictId) && keyExistsIn(other.dictionary(), view.searchKey);
}

uint32_t contentSize(const HWORD* word, uint32_t dictId) {
  return readChosen(word, dictId,
                    [](const HWORD* chosen, uint32_t own) { return wordContentSize(chosen, own); });
}

uint32_t contentText(const HWORD* word, uint32_t dictId, char* buffer, uint32_t capacity) {
  return readChosen(word, dictId, [&](const HWORD* chosen, uint32_t own) {
    return wordContentRead(chosen, own, buffer, capacity);
  });
}

}  // namespace orvia::content
