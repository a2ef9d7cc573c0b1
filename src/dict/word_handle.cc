#include "dict/word_handle.h"

#include <cstring>

#include "dict/heap_buffer.h"
#include "platform/platform.h"

namespace orvia::dict {
namespace {

const char* textOf(const IndexRecordView& view, WordText which, uint32_t* length) {
  if (which == WordText::kKey) {
    *length = view.keyLength();
    return view.key();
  }
  *length = view.wordLength();
  return view.word();
}

}  // namespace

Status readCurrentRecord(DBHANDLE db, uint8_t* block, IndexRecordView* view) {
  uint32_t size = kMaxIndexRecordSize;
  if (dbGetRecord(db, &size, block) == 0) return Cause::kStoreFailed;
  if (size > kMaxIndexRecordSize) return Cause::kDamaged;
  block[size] = 0;
  if (!parseIndexRecord(block, kRecordBlockSize, view)) return Cause::kDamaged;
  return Status();
}

Status gotoRecord(HDICT* dict, HWORD* target, uint32_t n) {
  target->dict = dict;
  if (dbGoto(dict->db, n) == 0) return Cause::kEmpty;
  HeapBuffer block(kRecordBlockSize);
  if (block.data() == nullptr) return Cause::kOutOfMemory;
  IndexRecordView view;
  Status status = readCurrentRecord(dict->db, block.data(), &view);
  if (status.ok()) target->record = block.take();
  return status;
}

bool wordRecord(const HWORD* word, IndexRecordView* view) {
  return parseIndexRecord(word->record, kRecordBlockSize, view);
}

Status duplicateWord(const HWORD* word, HWORD** out) {
  platform::HeapHandle heap = platform::processHeap();
  if (heap == nullptr) return Cause::kOutOfMemory;
  auto* copy = static_cast<HWORD*>(platform::heapAlloc(heap, sizeof(HWORD)));
  if (copy == nullptr) return Cause::kOutOfMemory;
  copy->dict = word->dict;
  copy->record = static_cast<uint8_t*>(platform::heapAlloc(heap, kRecordBlockSize));
  if (copy->record == nullptr) {
    platform::heapFree(heap, copy);
    return Cause::kOutOfMemory;
  }
  std::memcpy(copy->record, word->record, kRecordBlockSize);
  *out = copy;
  return Status();
}

Status freeWord(HWORD* word) {
  platform::HeapHandle heap = platform::processHeap();
  if (heap == nullptr) return Cause::kOutOfMemory;
  if (word->record != nullptr) {
    if (!platform::heapFree(heap, word->record)) return Cause::kOutOfMemory;
    word->record = nullptr;
  }
  platform::heapFree(heap, word);
  return Status();
}

uint32_t wordTextSize(const HWORD* word, WordText which) {
  IndexRecordView view;
  uint32_t length = 0;
  if (wordRecord(word, &view)) textOf(view, which, &length);
  return length;
}

Status copyWordText(const HWORD* word, WordText which, char* buffer, uint32_t size) {
  IndexRecordView view;
  if (!wordRecord(word, &view)) return Cause::kDamaged;
  uint32_t length = 0;
  const char* text = textOf(view, which, &length);
  if (length >= size) return Cause::kNoRoom;
  std::memcpy(buffer, text, length + 1);
  return Status();
}

}  // namespace orvia::dict
