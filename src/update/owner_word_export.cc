#include "update/owner_word_export.h"

#include "content/user_entry_file.h"
#include "dict/heap_buffer.h"
#include "dict/index_record.h"
#include "edit/companion_files.h"
#include "update/sequential_file.h"

namespace orvia::update {
namespace {

constexpr uint32_t kFirstContentSize = 2048;

// A companion whose entries are exported: its index at the first record, its entry file.
struct CompanionSource {
  edit::TemporaryDictionary index;
  edit::UserEntryFileHandle entries;
  uint32_t count = 0;

  Status open(uint32_t id) {
    Status status = index.open(id);
    if (!status.ok()) return status;
    if (dbGetInfo(index.get()->db, kDbInfoRecordCount, &count) == 0) return Cause::kStoreFailed;
    return entries.openForReading(id);
  }
};

// One item as it goes out: both lengths 0 make it an empty item.
struct Item {
  const uint8_t* keyArea = nullptr;
  uint32_t keyLength = 0;
  uint32_t contentLength = 0;
};

// Reads the current record and its text into record and content. Only a failed
// allocation fails; what cannot be read leaves the item empty.
Status readItem(CompanionSource& source, uint8_t* record, HeapBuffer* content, uint32_t* capacity,
                Item* item) {
  uint32_t size = dict::kMaxIndexRecordSize;
  *item = Item();
  if (dbGetRecord(source.index.get()->db, &size, record) == 0 || size < 4) return Status();
  const uint32_t recordLength = loadU32Le(record);
  uint32_t keyLength = recordLength - dict::kIndexRecordHeaderSize;
  // A length beyond what the store gave, or below the header, is no key area.
  if (keyLength > kMaxKeyAreaLength || recordLength > size) keyLength = 0;
  item->keyArea = record + dict::kSearchKeyOffset;
  item->keyLength = keyLength;
  const uint32_t head = loadU32Le(record + dict::kContentRefOffset);
  const content::FileHandle file = source.entries.get();
  const uint32_t length = content::userEntryContentLength(file, head);
  if (length >= *capacity) {
    if (!content->reserve(length + 1)) return Cause::kOutOfMemory;
    *capacity = length + 1;
  }
  item->contentLength = content::readUserEntryContent(file, head, content->text(), *capacity);
  return Status();
}

bool writeItem(SequentialFile* out, const Item& item, const HeapBuffer& content,
               uint32_t* sectionLength) {
  if (item.keyLength == 0 || item.contentLength == 0) {
    *sectionLength += kEmptyItemSize;
    return out->writeU32(0);
  }
  *sectionLength += item.keyLength + item.contentLength + kItemLengthFields;
  return out->writeU32(item.keyLength) && out->write(item.keyArea, item.keyLength) &&
         out->writeU32(item.contentLength) && out->write(content.data(), item.contentLength);
}

bool writeSectionHeader(content::FileHandle file, uint32_t at,
                        const OwnerWordSectionHeader& section) {
  uint8_t bytes[kOwnerWordSectionHeaderSize];
  encodeSectionHeader(section, bytes);
  return content::writeFileAt(file, at, sizeof bytes, bytes) == sizeof bytes;
}

bool writeFileHeader(content::FileHandle file, const OwnerWordFileHeader& header) {
  uint8_t bytes[kOwnerWordHeaderSize];
  encodeFileHeader(header, bytes);
  return content::writeFileAt(file, 0, sizeof bytes, bytes) == sizeof bytes;
}

}  // namespace

Status writeOwnerWordSection(content::FileHandle file, OwnerWordFileHeader* header, uint32_t d) {
  OwnerWordSectionHeader section;
  section.dictId = d;
  CompanionSource sources[2];
  Status status = sources[0].open(dict::recordDictId(d));
  if (status.ok()) status = sources[1].open(dict::memDictId(d));
  if (!status.ok()) return status;
  section.recordCount = sources[0].count;
  section.memoryCount = sources[1].count;
  const uint32_t at = header->totalSize;
  if (!writeSectionHeader(file, at, section)) return Cause::kWriteFailed;

  HeapBuffer record(dict::kRecordBlockSize), content(kFirstContentSize);
  if (record.data() == nullptr || content.data() == nullptr) return Cause::kOutOfMemory;
  uint32_t capacity = kFirstContentSize;
  SequentialFile out(file, at + kOwnerWordSectionHeaderSize);
  for (CompanionSource& source : sources) {
    // An index that cannot go to its first record gives empty items, one per record.
    if (source.count != 0) dbGoto(source.index.get()->db, 0);
    for (uint32_t i = 0; i < source.count; ++i) {
      Item item;
      status = readItem(source, record.data(), &content, &capacity, &item);
      if (!status.ok()) return status;
      dbNext(source.index.get()->db);
      if (!writeItem(&out, item, content, &section.length)) return Cause::kWriteFailed;
    }
  }
  if (!writeSectionHeader(file, at, section)) return Cause::kWriteFailed;
  ++header->sectionCount;
  header->totalSize += section.length;
  return Status();
}

Status exportOwnerWords(uint32_t d, const char* path) {
  if (dict::companionKindOf(d) != 0 || !dict::isValidDictId(d)) return Cause::kInvalidId;
  if (path == nullptr || path[0] == '\0') return Cause::kWriteFailed;
  OpenFile file(content::createFileReadWrite(path));
  if (!file.valid()) return Cause::kWriteFailed;
  OwnerWordFileHeader header;
  if (!writeFileHeader(file.get(), header)) return Cause::kWriteFailed;
  Status status = writeOwnerWordSection(file.get(), &header, d);
  if (!status.ok()) return status;
  return writeFileHeader(file.get(), header) ? Status() : Status(Cause::kWriteFailed);
}

}  // namespace orvia::update
