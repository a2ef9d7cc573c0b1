#include "dict/browse.h"

#include <cstring>

#include "dict/heap_buffer.h"
#include "dict/search.h"
#include "lang/lang_ops.h"
#include "platform/platform.h"

namespace orvia::dict {
namespace {

constexpr uint32_t kHomeKindMask = 0xFF000000u;

}  // namespace

uint32_t wordCount(HDICT* dict) {
  uint32_t count = 0;
  if (dict == nullptr || dbGetInfo(dict->db, kDbInfoRecordCount, &count) == 0) return 0;
  return count;
}

uint32_t findHomeRecord(const HWORD* word) {
  IndexRecordView own;
  if (!wordRecord(word, &own) || word->dict == nullptr) return kNoHomeRecord;
  if (own.contentDictId == word->dict->dictId)
    return (own.contentDictId & kHomeKindMask) | own.recordNumber;
  HDICT home{0, nullptr};
  if (openDictionary(&home, own.contentDictId) == 0) return kNoHomeRecord;
  HWORD found{nullptr, nullptr};
  uint32_t answer = kNoHomeRecord;
  IndexRecordView view;
  if (findNearestRecord(&home, &found, own.searchKey) != 0 && wordRecord(&found, &view)) {
    lang::CompareKeysFn compare = lang::getCompareKeysFn(lang::languageOf(home.dictId));
    if (compare(own.searchKey, view.searchKey) == 0)
      answer = (view.contentDictId & kHomeKindMask) | view.recordNumber;
  }
  if (found.record != nullptr) platform::heapFree(platform::processHeap(), found.record);
  closeDictionary(&home);
  return answer;
}

int handleInfo(HWORD* word, uint32_t what, uint32_t* out) {
  if (!platform::isWritable(out, 4)) return 0;
  *out = 0;
  IndexRecordView view;
  if (what < 1 || what > 4 || !wordRecord(word, &view)) return 0;
  switch (what) {
    case 1:
      *out = view.recordNumber;
      break;
    case 2:
      if (word->dict == nullptr) return 0;
      *out = word->dict->dictId;
      break;
    case 3:
      *out = findHomeRecord(word);
      break;
    case 4:
      *out = view.level();
      break;
  }
  return 1;
}

int stepWord(HWORD* word, uint32_t level, bool forward) {
  IndexRecordView view;
  if (level > 255 || !wordRecord(word, &view) || word->dict == nullptr) return 0;
  DBHANDLE db = word->dict->db;
  if (!forward && view.recordNumber == 0) return 0;
  if (dbGoto(db, forward ? view.recordNumber + 1 : view.recordNumber - 1) == 0) return 0;
  HeapBuffer block(kMaxIndexRecordSize);
  if (block.data() == nullptr) return 0;
  bool found = readCurrentRecord(db, block.data(), &view);
  while (found && level != 0 && view.level() != level) {
    found = (forward ? dbNext(db) : dbPrev(db)) != 0 && readCurrentRecord(db, block.data(), &view);
  }
  if (found) std::memcpy(word->record, block.data(), kMaxIndexRecordSize);
  return found ? 1 : 0;
}

}  // namespace orvia::dict
