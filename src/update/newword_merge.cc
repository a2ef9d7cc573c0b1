#include "update/newword_merge.h"

#include <cstring>

#include "dict/config.h"
#include "dict/dict_id.h"
#include "dict/heap_buffer.h"
#include "dict/word_handle.h"
#include "update/content_copy.h"
#include "update/merge_files.h"
#include "update/merge_lock.h"
#include "update/merged_record.h"
#include "update/newword_extract.h"
#include "update/newword_file.h"
#include "update/user_record_move.h"

namespace orvia::update {
namespace {

constexpr uint32_t kFirstContentBufferSize = 2048;

// The header of the file at path, read and its images extracted; the file is closed
// again on every way out.
Status readAndExtract(const char* path, NewWordFileHeader* header) {
  ScopedFile file;
  file.reset(openNewWordFile(path));
  if (file.get() == content::kInvalidFile || readNewWordHeader(file.get(), header) == 0)
    return Cause::kReadFailed;
  // A companion as target would extract over the very files the merge reads and writes.
  if (dict::companionKindOf(header->targetDictId) == dict::kNewWordKind) return Cause::kInvalidId;
  return extractNewWordFile(file.get());
}

class Merge {
 public:
  Merge(const NewWordFileHeader& header, const MergeProgress& progress, MergeCounts* counts)
      : target_(header.targetDictId),
        compare_(lang::languageOps(lang::languageOf(target_)).compareKeys),
        serverData_(dict::moduleState().serverDataMode),
        progress_(progress),
        counts_(counts) {}

  Status prepare() {
    Status status = openMergeFiles(target_, compare_, serverData_, &files_);
    if (!status.ok()) return status;
    dict::buildDictFileName(target_, dataName_, ".DAT");
    if (!fresh_.reserve(dict::kRecordBlockSize) || !found_.reserve(dict::kRecordBlockSize) ||
        !third_.reserve(dict::kRecordBlockSize) || !content_.reserve(kFirstContentBufferSize))
      return Cause::kOutOfMemory;
    if (feedsInstalledDictionary(target_)) {
      users_ = {files_.recordIndex.get(),
                files_.recordData.get(),
                files_.memoryIndex.get(),
                files_.memoryData.get(),
                dict::memDictId(target_),
                contentLanguage(),
                compare_,
                0};
      if (dbGetInfo(users_.recordIndex, kDbInfoRecordCount, &users_.records) == 0)
        return Cause::kStoreFailed;
    }
    if (dbGetInfo(files_.newWordIndex.get(), kDbInfoRecordCount, &counts_->total) == 0)
      return Cause::kStoreFailed;
    progress_.report(kNewWordStageTotal, intptr_t(counts_->total));
    if (dbGoto(files_.newWordIndex.get(), 0) == 0) return Cause::kStoreFailed;
    if (serverData_ == 0) appendOffset_ = content::currentFileSize(files_.targetData.get());
    return Status();
  }

  Status run() {
    do {
      Status status = mergeCurrentRecord();
      if (!status.ok()) return status;
    } while (dbNext(files_.newWordIndex.get()) != 0);
    return Status();
  }

 private:
  uint32_t contentLanguage() const {
    return dict::isValidDictId(target_) ? (target_ >> 8) & 0xFF : 0;
  }

  Status mergeCurrentRecord() {
    dict::IndexRecordView fresh;
    Status status = dict::readCurrentRecord(files_.newWordIndex.get(), fresh_.data(), &fresh);
    uint32_t source = 0;
    if (status.ok()) status = sourceOffsetOf(fresh, &source);
    if (status.ok()) status = listKey(fresh);
    bool skip = false;
    if (status.ok()) status = decideSkip(fresh, &skip);
    if (!status.ok()) return status;
    const intptr_t key = reinterpret_cast<intptr_t>(fresh.key());
    if (skip) {
      ++counts_->skipped;
      progress_.report(kNewWordStageSkipped, key);
      return Status();
    }
    MergedLocator locator = locatorAtOffset(fresh.contentRef, appendOffset_);
    if (serverData_ != 0) status = sharedLocator(fresh, &locator);
    uint32_t areaLength = 0;
    if (status.ok()) status = makeMergedRecord(fresh_.data(), fresh, locator, &areaLength);
    if (!status.ok()) return status;
    lock_.take();
    status = writeRecord(source, areaLength);
    if (!status.ok()) return status;
    lock_.release();
    ++counts_->merged;
    progress_.report(kNewWordStageMerged, key);
    return Status();
  }

  // The record's key and a line break at the end of the list, each written whole.
  Status listKey(const dict::IndexRecordView& fresh) {
    const char* key = fresh.key();
    const uint32_t length = uint32_t(std::strlen(key));
    if (content::writeFileAt(files_.list.get(), listOffset_, length, key) != length ||
        content::writeFileAt(files_.list.get(), listOffset_ + length, 2, "\r\n") != 2)
      return Status(Cause::kWriteFailed, listOffset_);
    listOffset_ += length + 2;
    return Status();
  }

  // Skipped when T holds the key at the same or a higher level.
  Status decideSkip(const dict::IndexRecordView& fresh, bool* skip) {
    if (dbSeek(files_.target.get(), fresh.searchKey) == 0) return Cause::kStoreFailed;
    dict::IndexRecordView found;
    Status status = dict::readCurrentRecord(files_.target.get(), found_.data(), &found);
    if (!status.ok()) return status;
    *skip = compare_(fresh.searchKey, found.searchKey) == 0 && fresh.level() <= found.level();
    return Status();
  }

  // In server data mode the content already lies in the shared data file: the shared
  // index's record of the same key tells where.
  Status sharedLocator(const dict::IndexRecordView& fresh, MergedLocator* out) {
    if (dbSeek(files_.shared.get(), fresh.searchKey) == 0) return Cause::kStoreFailed;
    dict::IndexRecordView shared;
    Status status = dict::readCurrentRecord(files_.shared.get(), third_.data(), &shared);
    if (!status.ok()) return status;
    if (compare_(fresh.searchKey, shared.searchKey) != 0) return Cause::kFileMissing;
    return locatorFromShared(fresh.contentRef, shared, out);
  }

  // With the lock held: the content, the inserts and the user's record.
  Status writeRecord(uint32_t source, uint32_t areaLength) {
    if (serverData_ == 0) {
      Status status = copyContentRecord(files_.newWordData.get(), source, files_.targetData.get(),
                                        &appendOffset_, &content_);
      if (!status.ok()) return status;
    }
    const DbInsertDescriptor record{dataName_, target_,
                                    loadU32Le(fresh_.data() + dict::kContentRefOffset), areaLength,
                                    fresh_.data() + dict::kSearchKeyOffset};
    if (dbInsert(files_.target.get(), &record) == 0) return Cause::kStoreFailed;
    if (!feedsInstalledDictionary(target_)) return Status();
    bool moved = false;
    Status status = moveUserRecord(&users_, fresh_.text() + dict::kSearchKeyOffset, third_.data(),
                                   &content_, &moved);
    if (!status.ok()) return status;
    counts_->moved += moved ? 1 : 0;
    return dbInsert(files_.installed.get(), &record) != 0 ? Status() : Status(Cause::kStoreFailed);
  }

  const uint32_t target_;
  const lang::CompareKeysFn compare_;
  const uint32_t serverData_;
  const MergeProgress& progress_;
  MergeCounts* counts_;
  MergeFiles files_;
  UserCompanions users_;
  char dataName_[dict::kFileNameBufferSize] = {};
  HeapBuffer fresh_, found_, third_, content_;
  uint32_t listOffset_ = 0, appendOffset_ = 0;
  // Declared last, so that it is released before the files close.
  MergeLock lock_;
};

}  // namespace

Status mergeNewWordFile(const char* path, const MergeProgress& progress, MergeCounts* counts) {
  MergeCounts ignored;
  if (counts == nullptr) counts = &ignored;
  *counts = MergeCounts();
  if (path == nullptr || path[0] == '\0') return Cause::kReadFailed;
  NewWordFileHeader header;
  Status status = readAndExtract(path, &header);
  if (!status.ok()) return status;
  uint32_t stored = 0;
  if (dict::readNewWordVersion(header.targetDictId, &stored) == 0) stored = 0;
  Merge merge(header, progress, counts);
  status = merge.prepare();
  if (status.ok()) status = merge.run();
  if (!status.ok()) return status;
  if (stored < header.listVersion) {
    dict::writeNewWordVersion(header.targetDictId, header.listVersion);
    dict::writeNewWordTime(header.targetDictId, header.listTime);
  }
  progress.report(kNewWordStageDone, 0);
  return Status();
}

}  // namespace orvia::update
