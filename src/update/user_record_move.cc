#include "update/user_record_move.h"

#include "content/user_entry_file.h"
#include "content/user_marker.h"
#include "dict/dict_id.h"
#include "dict/word_handle.h"

namespace orvia::update {

Status moveUserRecord(UserCompanions* companions, const char* area, uint8_t* block,
                      HeapBuffer* text, bool* moved) {
  *moved = false;
  if (companions->records == 0) return Status();
  if (dbSeek(companions->recordIndex, area) == 0) return Cause::kStoreFailed;
  dict::IndexRecordView record;
  Status status = dict::readCurrentRecord(companions->recordIndex, block, &record);
  if (!status.ok()) return status;
  if (companions->compare(area, record.searchKey) != 0) return Status();

  const uint32_t head = record.contentRef;
  const uint32_t size = content::userEntryContentLength(companions->recordData, head);
  if (size == 0) return Status(Cause::kDamaged, head);
  if (size >= text->size() && !text->reserve(size + 1)) return Cause::kOutOfMemory;
  uint32_t length =
      content::readUserEntryContent(companions->recordData, head, text->text(), text->size());
  if (length == 0) return Status(Cause::kReadFailed, head);
  length = content::removeUserMarker(text->text(), length, companions->markerCode);

  const uint32_t newHead =
      content::appendUserEntry(companions->memoryData, record.searchKey, text->text(), length);
  if (newHead == 0) return Cause::kWriteFailed;
  char name[dict::kFileNameBufferSize] = {};  // the store writes all of it
  dict::buildDictFileName(companions->memoryId, name, ".DAT");
  const DbInsertDescriptor note{name, companions->memoryId, newHead,
                                record.recordLength - dict::kIndexRecordHeaderSize,
                                block + dict::kSearchKeyOffset};
  if (dbInsert(companions->memoryIndex, &note) == 0) return Cause::kStoreFailed;
  if (content::freeUserEntry(companions->recordData, head) == 0)
    return Status(Cause::kWriteFailed, head);
  if (dbDelete(companions->recordIndex, record.recordNumber) == 0) return Cause::kStoreFailed;
  --companions->records;
  *moved = true;
  return Status();
}

}  // namespace orvia::update
