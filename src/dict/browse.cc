#include "dict/browse.h"

#include <cstring>

#include "dict/dictionary.h"
#include "dict/heap_buffer.h"
#include "dict/search.h"
#include "lang/lang_ops.h"
#include "platform/platform.h"

namespace orvia::dict {
namespace {

constexpr uint32_t kHomeKindMask = 0xFF000000u;

}  // namespace

Status wordCount(HDICT* dict, uint32_t* count) {
  return dbGetInfo(dict->db, kDbInfoRecordCount, count) != 0 ? Status() : Cause::kStoreFailed;
}

uint32_t findHomeRecord(const HWORD* word) {
  IndexRecordView own;
  if (!wordRecord(word, &own) || word->dict == nullptr) return kNoHomeRecord;
  if (own.contentDictId == word->dict->dictId)
    return (own.contentDictId & kHomeKindMask) | own.recordNumber;
  HDICT home{0, nullptr};
  if (!openDictionary(&home, own.contentDictId).ok()) return kNoHomeRecord;
  HWORD found{nullptr, nullptr};
  uint32_t answer = kNoHomeRecord;
  IndexRecordView view;
  if (findNearestRecord(&home, &found, own.searchKey).ok() && wordRecord(&found, &view)) {
    const lang::LanguageOps& ops = lang::languageOps(lang::languageOf(home.dictId));
    if (ops.compareKeys(own.searchKey, view.searchKey) == 0)
      answer = (view.contentDictId & kHomeKindMask) | view.recordNumber;
  }
  if (found.record != nullptr) platform::heapFree(platform::processHeap(), found.record);
  closeDictionary(&home);
  return answer;
}

Status handleInfo(const HWORD* word, uint32_t what, uint32_t* out) {
  IndexRecordView view;
  if (!wordRecord(word, &view)) return Cause::kDamaged;
  switch (what) {
    case 1:
      *out = view.recordNumber;
      break;
    case 2:
      if (word->dict == nullptr) return Cause::kDamaged;
      *out = word->dict->dictId;
      break;
    case 3:
      *out = findHomeRecord(word);
      break;
    case 4:
      *out = view.level();
      break;
  }
  return Status();
}

Status stepWord(HWORD* word, uint32_t level, bool forward) {
  IndexRecordView view;
  if (!wordRecord(word, &view)) return Cause::kDamaged;
  DBHANDLE db = word->dict->db;
  if (!forward && view.recordNumber == 0) return Cause::kEmpty;
  if (dbGoto(db, forward ? view.recordNumber + 1 : view.recordNumber - 1) == 0)
    return Cause::kEmpty;
  HeapBuffer block(kRecordBlockSize);
  if (block.data() == nullptr) return Cause::kOutOfMemory;
  Status status = readCurrentRecord(db, block.data(), &view);
  while (status.ok() && level != 0 && view.level() != level) {
    status = (forward ? dbNext(db) : dbPrev(db)) != 0 ? readCurrentRecord(db, block.data(), &view)
                                                      : Status(Cause::kEmpty);
  }
  if (status.ok()) std::memcpy(word->record, block.data(), kRecordBlockSize);
  return status;
}

}  // namespace orvia::dict
