#include <cstring>

#include "content/user_entry_file.h"
#include "content/user_marker.h"
#include "dict/dict_id.h"
#include "dict/heap_buffer.h"
#include "dict/word_handle.h"
#include "edit/companion_files.h"
#include "lang/lang_ops.h"
#include "platform/platform.h"
#include "update/owner_word_import.h"
#include "update/sequential_file.h"

namespace orvia::update {
namespace {

constexpr uint32_t kFirstContentSize = 2048;
// Zero bytes behind the longest key area, so that its strings end inside the buffer.
constexpr uint32_t kKeyPadding = 4;

// A process-heap text that grows, and that insertUserMarker may move.
class TextBuffer {
 public:
  ~TextBuffer() {
    if (text_ != nullptr) platform::heapFree(platform::processHeap(), text_);
  }
  // Room for size bytes; the text is not kept.
  bool reserve(uint32_t size) {
    if (text_ != nullptr && size <= capacity_) return true;
    if (text_ != nullptr) platform::heapFree(platform::processHeap(), text_);
    text_ = static_cast<char*>(platform::heapAlloc(platform::processHeap(), size));
    capacity_ = text_ != nullptr ? size : 0;
    return text_ != nullptr;
  }
  char** text() { return &text_; }
  uint32_t* capacity() { return &capacity_; }

 private:
  char* text_ = nullptr;
  uint32_t capacity_ = 0;
};

// The files an import writes: both companions, and d's own index for the lookups.
struct ImportTargets {
  uint32_t recordId, memoryId;
  edit::UserEntryFileHandle recordEntries, memoryEntries;
  edit::TemporaryDictionary recordIndex, memoryIndex, mainIndex;

  explicit ImportTargets(uint32_t d)
      : recordId(dict::recordDictId(d)), memoryId(dict::memDictId(d)) {}
  Status open(uint32_t d) {
    Status status = recordEntries.open(recordId);
    if (status.ok()) status = memoryEntries.open(memoryId);
    if (status.ok()) status = recordIndex.open(recordId);
    if (status.ok()) status = memoryIndex.open(memoryId);
    return status.ok() ? mainIndex.open(d) : status;
  }
};

// One item read from the file.
struct Item {
  bool memory = false;
  uint32_t keyLength = 0;
  uint32_t contentLength = 0;
};

class SectionImport {
 public:
  SectionImport(uint32_t d, ImportTargets* targets)
      : targets_(targets),
        compare_(lang::languageOps(lang::languageOf(d)).compareKeys),
        markerCode_((d >> 8) & 0xFF) {}

  Status allocate() {
    const bool had = key_.reserve(kMaxKeyAreaLength + kKeyPadding) &&
                     record_.reserve(dict::kRecordBlockSize) && content_.reserve(kFirstContentSize);
    return had ? Status() : Status(Cause::kOutOfMemory);
  }

  // Reads the next item; kEmpty for an empty one.
  Status read(SequentialFile* in, uint32_t fileSize, Item* item) {
    const uint32_t at = in->offset();
    if (!in->readU32(&item->keyLength)) return Status(Cause::kTruncated, at);
    if (item->keyLength == 0) return Cause::kEmpty;
    if (item->keyLength > kMaxKeyAreaLength) return Status(Cause::kDamaged, at);
    std::memset(key_.data(), 0, kMaxKeyAreaLength + kKeyPadding);
    if (!in->read(key_.data(), item->keyLength) || !in->readU32(&item->contentLength))
      return Status(Cause::kTruncated, at);
    if (item->contentLength == 0) return Status(Cause::kDamaged, in->offset() - 4);
    // A length the file cannot hold is refused before it is allocated.
    if (item->contentLength > in->remaining(fileSize)) return Status(Cause::kTruncated, at);
    if (item->contentLength >= *content_.capacity() && !content_.reserve(item->contentLength + 1))
      return Cause::kOutOfMemory;
    if (!in->read(*content_.text(), item->contentLength)) return Status(Cause::kTruncated, at);
    (*content_.text())[item->contentLength] = '\0';
    return Status();
  }

  // Decides where the item goes and puts it there; at is its offset, for the causes.
  Status place(Item item, uint32_t at) {
    bool known = false;
    Status status = holds(targets_->mainIndex.get()->db, &known);
    if (!status.ok()) return status;
    if (known && view_.contentDictId == targets_->recordId) {
      if (item.memory && !addMarker(&item)) return Status(Cause::kDamaged, at);
      return skipOrAdd(targets_->recordIndex.get()->db, [&] { return addRecord(item); });
    }
    if (known) {
      if (!item.memory)
        item.contentLength =
            content::removeUserMarker(*content_.text(), item.contentLength, markerCode_);
      return skipOrAdd(targets_->memoryIndex.get()->db, [&] { return addNote(item); });
    }
    if (item.memory && !addMarker(&item)) return Status(Cause::kDamaged, at);
    return addRecord(item);
  }

 private:
  // Whether db holds the item's key: the seek lands on a record whose key compares equal.
  Status holds(DBHANDLE db, bool* found) {
    *found = false;
    if (dbSeek(db, key_.text()) == 0) return Status();
    Status status = dict::readCurrentRecord(db, record_.data(), &view_);
    if (status.ok()) *found = compare_(key_.text(), view_.searchKey) == 0;
    return status;
  }

  bool addMarker(Item* item) {
    item->contentLength = content::insertUserMarker(content_.text(), item->contentLength,
                                                    markerCode_, content_.capacity());
    return item->contentLength != 0;
  }

  // Adds the item unless the companion holds its key already.
  template <typename Add>
  Status skipOrAdd(DBHANDLE companion, Add add) {
    bool held = false;
    Status status = holds(companion, &held);
    if (!status.ok()) return status;
    return held ? Status() : add();
  }

  // Appends the text to a companion's entry file and inserts the key area into each index.
  Status addEntry(const Item& item, const edit::UserEntryFileHandle& entries, uint32_t id,
                  std::initializer_list<DBHANDLE> indexes) {
    const uint32_t head =
        content::appendUserEntry(entries.get(), key_.text(), *content_.text(), item.contentLength);
    if (head == 0) return Cause::kWriteFailed;
    const edit::DataFileName name(id);
    const DbInsertDescriptor descriptor{name.text, id, head, item.keyLength, key_.text()};
    for (DBHANDLE db : indexes)
      if (dbInsert(db, &descriptor) == 0) return Cause::kStoreFailed;
    return Status();
  }

  Status addRecord(const Item& item) {
    return addEntry(item, targets_->recordEntries, targets_->recordId,
                    {targets_->recordIndex.get()->db, targets_->mainIndex.get()->db});
  }

  Status addNote(const Item& item) {
    return addEntry(item, targets_->memoryEntries, targets_->memoryId,
                    {targets_->memoryIndex.get()->db});
  }

  ImportTargets* targets_;
  DbCompareFn compare_;
  uint32_t markerCode_;
  HeapBuffer key_, record_;
  TextBuffer content_;
  dict::IndexRecordView view_;
};

}  // namespace

Status importOwnerWordSection(content::FileHandle file, uint32_t itemsAt,
                              const OwnerWordSectionHeader& section, uint32_t d,
                              DicImportCallback callback) {
  ImportTargets targets(d);
  Status status = targets.open(d);
  if (!status.ok()) return status;
  SectionImport import(d, &targets);
  status = import.allocate();
  if (!status.ok()) return status;
  const uint32_t fileSize = content::currentFileSize(file);
  SequentialFile in(file, itemsAt);
  const uint64_t items = uint64_t(section.recordCount) + section.memoryCount;
  for (uint64_t i = 0; i < items; ++i) {
    if (callback != nullptr && i != 0 && callback() == 0) return Cause::kStopped;
    const uint32_t at = in.offset();
    Item item;
    item.memory = i >= section.recordCount;
    status = import.read(&in, fileSize, &item);
    if (status.cause() == Cause::kEmpty) continue;
    if (status.ok()) status = import.place(item, at);
    if (!status.ok()) return status;
  }
  if (callback != nullptr && callback() == 0) return Cause::kStopped;
  return Status();
}

}  // namespace orvia::update
