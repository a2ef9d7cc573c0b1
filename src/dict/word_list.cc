#include "dict/word_list.h"

#include <algorithm>
#include <cstring>

#include "dict/dict_id.h"
#include "dict/heap_buffer.h"
#include "dict/index_record.h"
#include "dict/word_handle.h"

namespace orvia::dict {
namespace {

// The batch starts at a size that holds a window of typical records, so that most windows
// take one dbSearch, not a sizing call and then the real one.
constexpr uint32_t kTypicalRecordSize = 64;
constexpr uint32_t kLargestFirstBatch = 64 * 1024;

uint32_t firstBatchSize(uint32_t count) {
  return uint32_t(std::min<uint64_t>(uint64_t(count) * kTypicalRecordSize, kLargestFirstBatch));
}

// Appends entries to the caller's buffer, keeping one byte for the final zero.
class ListWriter {
 public:
  ListWriter(ListKind kind, char* buffer, uint32_t size)
      : kind_(kind), buffer_(buffer), size_(size) {}

  // False when the entry does not fit: the list ends before it.
  bool append(const IndexRecordView& record) {
    bool words = kind_ == ListKind::kWords;
    const char* text = words ? record.word() : record.key();
    uint32_t length = words ? record.wordLength() : record.keyLength();
    if (kind_ == ListKind::kKeyVcodes) {
      if (uint64_t(pos_) + length + 1 >= size_) return false;
      std::memcpy(buffer_ + pos_, text, length);
      buffer_[pos_ + length] = char(record.lastByte);
      pos_ += length + 1;
    } else {
      if (uint64_t(pos_) + length + 2 >= size_) return false;
      buffer_[pos_] = char(companionKindOf(record.contentDictId));
      std::memcpy(buffer_ + pos_ + 1, text, length + 1);
      pos_ += length + 2;
    }
    ++count_;
    return true;
  }

  ListWindow finish() {
    buffer_[pos_] = '\0';
    return {count_, pos_};
  }
  uint32_t count() const { return count_; }

 private:
  ListKind kind_;
  char* buffer_;
  uint32_t size_;
  uint32_t pos_ = 0;
  uint32_t count_ = 0;
};

// One dbSearch for the whole window, in a buffer grown once to what the store asks.
// False when the batch could not be had; the stepping path takes over then.
bool appendBatch(DBHANDLE db, uint32_t start, uint32_t count, ListWriter* writer) {
  const uint32_t firstSize = std::max<uint32_t>(firstBatchSize(count), kDbMaxRecordSize);
  HeapBuffer batch(firstSize);
  if (batch.data() == nullptr) return false;
  uint32_t capacity = firstSize;
  int32_t ok = dbSearch(db, kDbSearchSelector, start, count, &capacity, batch.data());
  if (ok == 0 && capacity > firstSize) {
    if (!batch.reserve(capacity)) return false;
    ok = dbSearch(db, kDbSearchSelector, start, count, &capacity, batch.data());
  }
  if (ok == 0) return false;
  // A record whose last string runs to its end is copied out of the batch to give it the
  // zero behind it; the next record's length stands there in the batch.
  HeapBuffer block(kRecordBlockSize);
  if (block.data() == nullptr) return false;
  uint32_t at = 0;
  IndexRecordView record;
  while (at < capacity && writer->count() < count &&
         viewIndexRecord(batch.data() + at, capacity - at, block.data(), &record) &&
         writer->append(record)) {
    at += record.recordLength;
  }
  return true;
}

// Record by record, for when the batch call fails.
void appendStepping(DBHANDLE db, uint32_t start, uint32_t count, ListWriter* writer) {
  HeapBuffer block(kRecordBlockSize);
  if (block.data() == nullptr || dbGoto(db, start) == 0) return;
  IndexRecordView record;
  while (readCurrentRecord(db, block.data(), &record).ok() && writer->append(record) &&
         writer->count() < count && dbNext(db) != 0) {
  }
}

}  // namespace

ListWindow fetchWordList(ListKind kind, DBHANDLE db, uint32_t start, uint32_t count, char* buffer,
                         uint32_t size) {
  ListWriter writer(kind, buffer, size);
  if (!appendBatch(db, start, count, &writer)) appendStepping(db, start, count, &writer);
  return writer.finish();
}

}  // namespace orvia::dict
