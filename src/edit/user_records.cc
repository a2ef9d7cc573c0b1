#include "edit/user_records.h"

#include <cstring>

#include "content/user_entry_file.h"
#include "dict/dict_id.h"
#include "dict/heap_buffer.h"
#include "dict/search.h"
#include "dict/word_handle.h"
#include "edit/companion_files.h"
#include "edit/private_heap.h"
#include "edit/string_area.h"
#include "edit/write_lock.h"
#include "lang/lang_ops.h"

namespace orvia::edit {
namespace {

constexpr size_t kRecordHeapSize = 2 * 1024;

Status insertInto(DBHANDLE db, const DbInsertDescriptor& descriptor) {
  return dbInsert(db, &descriptor) != 0 ? Status() : Status(Cause::kStoreFailed);
}

Status deleteFrom(DBHANDLE db, uint32_t recordNumber) {
  return dbDelete(db, recordNumber) != 0 ? Status() : Status(Cause::kStoreFailed);
}

}  // namespace

Status addUserRecord(HDICT* dict, const char* word, uint32_t wordLength, const char* content,
                     uint32_t contentLength) {
  // The caller's word need not be terminated at wordLength: the key is made from a copy.
  char terminated[kMaxRecordWordLength + 1];
  std::memcpy(terminated, word, wordLength);
  terminated[wordLength] = '\0';
  if (dict::wordExists(dict, terminated)) return Cause::kExists;
  HeapBuffer key(lang::kKeyBufferSize);
  if (key.data() == nullptr) return Cause::kOutOfMemory;
  if (lang::languageOps(lang::languageOf(dict->dictId)).makeSearchKey(terminated, key.text()) == 0)
    return Cause::kNoUsableKey;
  return runUnderWriteLock(
      [&] { return addRecordEntry(dict, key.text(), content, contentLength); });
}

Status deleteUserRecord(HDICT* dict, uint32_t recordNumber) {
  return runUnderWriteLock([&] { return deleteRecordEntry(dict, recordNumber); });
}

Status addRecordEntry(HDICT* dict, const char* key, const char* content, uint32_t contentLength) {
  const uint32_t recordId = dict::recordDictId(dict->dictId);
  if (!dict::isValidDictId(recordId)) return Cause::kInvalidId;
  UserEntryFileHandle file;
  Status status = file.open(recordId);
  if (!status.ok()) return status;
  const StringArea strings = keyStringArea(key, lang::languageOf(dict->dictId));
  const uint32_t head = content::appendUserEntry(file.get(), key, content, contentLength);
  if (head == 0) return Cause::kWriteFailed;
  TemporaryDictionary recordDict;
  status = recordDict.open(recordId);
  if (!status.ok()) return status;
  const DataFileName name(recordId);
  const DbInsertDescriptor descriptor{name.text, recordId, head, strings.length, strings.data};
  status = insertInto(recordDict.get()->db, descriptor);
  return status.ok() ? insertInto(dict->db, descriptor) : status;
}

Status deleteRecordEntry(HDICT* dict, uint32_t recordNumber) {
  PrivateHeap heap(kRecordHeapSize);
  uint8_t* blockA = heap.allocate(dict::kRecordBlockSize);
  uint8_t* blockB = heap.allocate(dict::kRecordBlockSize);
  if (blockA == nullptr || blockB == nullptr) return Cause::kOutOfMemory;
  if (dbGoto(dict->db, recordNumber) == 0) return Cause::kEmpty;
  dict::IndexRecordView a;
  Status status = dict::readCurrentRecord(dict->db, blockA, &a);
  if (!status.ok()) return status;
  const uint32_t recordId = dict::recordDictId(dict->dictId);
  if (a.contentDictId != recordId) return Cause::kOwnWord;

  TemporaryDictionary recordDict;
  status = recordDict.open(recordId);
  if (!status.ok()) return status;
  DBHANDLE recordDb = recordDict.get()->db;
  if (dbSeek(recordDb, a.searchKey) == 0) return Cause::kEmpty;
  dict::IndexRecordView b;
  status = dict::readCurrentRecord(recordDb, blockB, &b);
  if (!status.ok()) return status;
  if (lang::languageOps(lang::languageOf(dict->dictId)).compareKeys(b.searchKey, a.searchKey) != 0)
    return Cause::kEmpty;

  UserEntryFileHandle file;
  status = file.open(recordId);
  if (!status.ok()) return status;
  if (content::freeUserEntry(file.get(), b.contentRef) == 0)
    return Status(Cause::kWriteFailed, b.contentRef);
  status = deleteFrom(recordDb, b.recordNumber);
  return status.ok() ? deleteFrom(dict->db, recordNumber) : status;
}

}  // namespace orvia::edit
