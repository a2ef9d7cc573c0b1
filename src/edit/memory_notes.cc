#include "edit/memory_notes.h"

#include "content/user_entry_file.h"
#include "dict/dict_id.h"
#include "dict/word_handle.h"
#include "edit/companion_files.h"
#include "edit/private_heap.h"
#include "edit/write_lock.h"
#include "lang/lang_ops.h"

namespace orvia::edit {
namespace {

constexpr size_t kRecordHeapSize = 1024;

// The note of strings when the seek lands on it: its record is read into block.
Status findNote(HDICT* memDict, const StringArea& strings, uint8_t* block,
                dict::IndexRecordView* view, bool* found) {
  if (dbSeek(memDict->db, strings.data) == 0) return Cause::kStoreFailed;
  Status status = dict::readCurrentRecord(memDict->db, block, view);
  if (!status.ok()) return status;
  const auto compare = lang::languageOps(lang::languageOf(memDict->dictId)).compareKeys;
  *found = compare(view->searchKey, strings.data) == 0;
  return Status();
}

// Opens the word's memory companion and runs worker(memDict, word's string area) under
// the write lock.
template <typename Worker>
Status onMemoryCompanion(const HWORD* word, Worker worker) {
  dict::IndexRecordView view;
  if (!dict::wordRecord(word, &view)) return Cause::kDamaged;
  char area[dict::kMaxIndexRecordSize];
  const StringArea strings = recordStringArea(view, area);
  TemporaryDictionary memDict;
  Status status = memDict.open(dict::memDictId(word->dict->dictId));
  if (!status.ok()) return status;
  return runUnderWriteLock([&] { return worker(memDict.get(), strings); });
}

}  // namespace

Status addMemoryNote(const HWORD* word, const char* text, uint32_t length) {
  return onMemoryCompanion(word, [&](HDICT* memDict, const StringArea& strings) {
    return addMemoryEntry(memDict, strings, text, length);
  });
}

Status deleteMemoryNote(const HWORD* word) {
  return onMemoryCompanion(word, deleteMemoryEntry);
}

Status addMemoryEntry(HDICT* memDict, const StringArea& strings, const char* text,
                      uint32_t length) {
  PrivateHeap heap(kRecordHeapSize);
  uint8_t* block = heap.allocate(dict::kRecordBlockSize);
  if (block == nullptr) return Cause::kOutOfMemory;
  UserEntryFileHandle file;
  Status status = file.open(memDict->dictId);
  if (!status.ok()) return status;
  uint32_t count = 0;
  if (dbGetInfo(memDict->db, kDbInfoRecordCount, &count) == 0) return Cause::kStoreFailed;
  // The seek needs a record to land on; an empty index goes straight to the append.
  if (count != 0) {
    dict::IndexRecordView view;
    bool found = false;
    status = findNote(memDict, strings, block, &view, &found);
    if (!status.ok()) return status;
    if (found)
      return content::rewriteUserEntry(file.get(), view.contentRef, text, length) != 0
                 ? Status()
                 : Status(Cause::kWriteFailed, view.contentRef);
  }
  const uint32_t head = content::appendUserEntry(file.get(), strings.data, text, length);
  if (head == 0) return Cause::kWriteFailed;
  const DataFileName name(memDict->dictId);
  const DbInsertDescriptor descriptor{name.text, memDict->dictId, head, strings.length,
                                      strings.data};
  return dbInsert(memDict->db, &descriptor) != 0 ? Status() : Status(Cause::kStoreFailed);
}

Status deleteMemoryEntry(HDICT* memDict, const StringArea& strings) {
  UserEntryFileHandle file;
  Status status = file.open(memDict->dictId);
  if (!status.ok()) return status;
  PrivateHeap heap(kRecordHeapSize);
  uint8_t* block = heap.allocate(dict::kRecordBlockSize);
  if (block == nullptr) return Cause::kOutOfMemory;
  dict::IndexRecordView view;
  bool found = false;
  status = findNote(memDict, strings, block, &view, &found);
  if (!status.ok()) return status;
  if (!found) return Cause::kEmpty;
  if (content::freeUserEntry(file.get(), view.contentRef) == 0)
    return Status(Cause::kWriteFailed, view.contentRef);
  return dbDelete(memDict->db, view.recordNumber) != 0 ? Status() : Status(Cause::kStoreFailed);
}

}  // namespace orvia::edit
