#include "dict/word_handle.h"

#include <cstring>

#include "dict/heap_buffer.h"
#include "platform/platform.h"

namespace orvia::dict {
namespace {

// Which text of a record a getter hands out.
using TextOf = const char* (IndexRecordView::*)() const;

uint32_t textSize(const HWORD* word, TextOf text) {
  IndexRecordView view;
  if (!wordRecord(word, &view)) return 0;
  return uint32_t(std::strlen((view.*text)()));
}

int copyText(const HWORD* word, char* buffer, uint32_t size, TextOf text) {
  if (!platform::isWritable(buffer, size)) return 0;
  IndexRecordView view;
  if (!wordRecord(word, &view)) return 0;
  const char* source = (view.*text)();
  size_t length = std::strlen(source);
  if (length >= size) return 0;
  std::memcpy(buffer, source, length + 1);
  return 1;
}

}  // namespace

bool readCurrentRecord(DBHANDLE db, uint8_t* block, IndexRecordView* view) {
  uint32_t size = kMaxIndexRecordSize;
  if (dbGetRecord(db, &size, block) == 0) return false;
  return parseIndexRecord(block, kMaxIndexRecordSize, view);
}

int gotoRecord(HDICT* dict, HWORD* target, uint32_t n) {
  target->dict = dict;
  if (dbGoto(dict->db, n) == 0) return 0;
  HeapBuffer block(kMaxIndexRecordSize);
  IndexRecordView view;
  if (block.data() == nullptr || !readCurrentRecord(dict->db, block.data(), &view)) return 0;
  target->record = block.take();
  return 1;
}

bool wordRecord(const HWORD* word, IndexRecordView* view) {
  return word != nullptr && word->record != nullptr &&
         parseIndexRecord(word->record, kMaxIndexRecordSize, view);
}

HWORD* duplicateWord(const HWORD* word) {
  platform::HeapHandle heap = platform::processHeap();
  if (word == nullptr || word->record == nullptr || heap == nullptr) return nullptr;
  auto* copy = static_cast<HWORD*>(platform::heapAlloc(heap, sizeof(HWORD)));
  if (copy == nullptr) return nullptr;
  copy->dict = word->dict;
  copy->record = static_cast<uint8_t*>(platform::heapAlloc(heap, kMaxIndexRecordSize));
  if (copy->record == nullptr) {
    platform::heapFree(heap, copy);
    return nullptr;
  }
  std::memcpy(copy->record, word->record, kMaxIndexRecordSize);
  return copy;
}

int freeWord(HWORD* word) {
  platform::HeapHandle heap = platform::processHeap();
  if (word == nullptr || heap == nullptr) return 0;
  if (word->record != nullptr) {
    if (!platform::heapFree(heap, word->record)) return 0;
    word->record = nullptr;
  }
  platform::heapFree(heap, word);
  return 1;
}

uint32_t wordKeySize(const HWORD* word) {
  return textSize(word, &IndexRecordView::key);
}
uint32_t wordTextSize(const HWORD* word) {
  return textSize(word, &IndexRecordView::word);
}

int copyWordKey(const HWORD* word, char* buffer, uint32_t size) {
  return copyText(word, buffer, size, &IndexRecordView::key);
}

int copyWordText(const HWORD* word, char* buffer, uint32_t size) {
  return copyText(word, buffer, size, &IndexRecordView::word);
}

}  // namespace orvia::dict
