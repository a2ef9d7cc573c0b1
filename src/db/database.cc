#include "db/database.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "base/bytes.h"
#include "db/change_log.h"
#include "db/segment_writer.h"

namespace orvia::db {
namespace {

class FileLock {
 public:
  FileLock(platform::File& file, bool exclusive)
      : file_(file), held_(exclusive ? file.lockExclusive() : file.lockShared()) {}
  ~FileLock() {
    if (held_) file_.unlock();
  }
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;
  bool held() const { return held_; }

 private:
  platform::File& file_;
  bool held_;
};

// How far past a lower bound a cursor looks for its own record among equal ones.
constexpr uint32_t kMaxEqualRunScan = 4096;

std::string copyOf(const RecordView& record) {
  std::string bytes(reinterpret_cast<const char*>(record.bytes), record.length);
  bytes.append(kRecordPadding, '\0');
  return bytes;
}

// Removes the segment files of the generations before header's. Each compaction removes
// them all, not only the last, and so does each writer's open: on Windows a file another
// process keeps open without sharing its removal stays, and is tried again later.
void removeOlderSegments(const std::string& indexPath, const IndexHeader& header) {
  std::vector<std::string> ends;
  if (header.placement != kSegmentInOwnFile ||
      !platform::listFileNameEnds(indexPath.c_str(), &ends))
    return;
  for (const std::string& end : ends) {
    uint32_t generation = 0;
    if (segmentGenerationOf(end, &generation) && generation < header.generation)
      platform::removeFile(segmentPathFor(indexPath, generation).c_str());
  }
}

}  // namespace

Database::Database(std::string path, DbCompareFn compare, const OpenOptions& options)
    : path_(std::move(path)), compare_(compare), options_(options) {}

Database::~Database() = default;

std::unique_ptr<Database> Database::open(const std::string& path, DbCompareFn compare,
                                         const OpenOptions& options) {
  if (compare == nullptr) return nullptr;
  std::unique_ptr<Database> db(new Database(path, compare, options));
  if (!options.readOnly)
    db->file_ = platform::openFile(path.c_str(), platform::FileMode::kReadWrite);
  if (!db->file_) {
    db->options_.readOnly = true;
    db->file_ = platform::openFile(path.c_str(), platform::FileMode::kRead);
  }
  if (!db->file_) return nullptr;
  FileLock lock(*db->file_, false);
  IndexHeader header;
  uint64_t counter = 0, size = 0;
  if (!lock.held() || !readIndexHeader(*db->file_, &header, &counter, &size, nullptr))
    return nullptr;
  db->fileMap_ = db->file_->map(header.logOffset);
  if (!db->fileMap_ || !db->load(header, size, counter, &db->state_)) return nullptr;
  // The shared lock keeps compactions out, so no handle is about to open an older segment.
  if (!db->options_.readOnly) removeOlderSegments(path, db->state_.header);
  return db;
}

bool Database::close() {
  return !wrote_ || file_->sync();
}

bool Database::load(const IndexHeader& header, uint64_t fileSize, uint64_t counter, State* out) {
  // The log offset never moves, so the mapping made at open covers every later header.
  if (header.logOffset != fileMap_->size()) return false;
  State state;
  state.header = header;
  state.counter = counter;
  if (!openSegment(path_, header, *fileMap_, &state.segment, nullptr)) return false;
  state.content = std::make_unique<IndexContent>(state.segment.reader);
  LogReplay replay;
  if (!replayLog(*file_, header, header.logOffset, fileSize, state.content.get(), nullptr, &replay,
                 nullptr))
    return false;
  state.logEnd = replay.end;
  *out = std::move(state);
  return true;
}

bool Database::refresh() {
  if (decodeChangeCounter(fileMap_->data()) == state_.counter) return true;
  FileLock lock(*file_, false);
  return lock.held() && syncWithFile(false, Cursor::kFindRecord);
}

bool Database::syncWithFile(bool forWrite, Cursor cursor) {
  IndexHeader header;
  uint64_t counter = 0, size = 0;
  if (!readIndexHeader(*file_, &header, &counter, &size, nullptr)) return false;
  if (header.generation == state_.header.generation && size >= state_.logEnd) {
    if (size == state_.logEnd && counter == state_.counter) return true;
    LogReplay replay;
    bool ok = replayLog(
        *file_, state_.header, state_.logEnd, size, state_.content.get(),
        [this](uint8_t kind, uint32_t position) { onChange(kind, position); }, &replay, nullptr);
    state_.logEnd = replay.end;
    if (!ok) return false;
    state_.counter = counter;
  } else {
    // A compaction replaced the segment: the log this handle replayed is gone, so the
    // cursor finds its record again by content.
    std::string current;
    RecordView view;
    bool onRecord = state_.content->recordAt(cursor_, &view);
    if (onRecord) current = copyOf(view);
    State fresh;
    if (!load(header, size, counter, &fresh)) return false;
    state_ = std::move(fresh);
    if (cursor == Cursor::kFindRecord && onRecord) {
      placeCursorOn(current);
    } else {
      uint32_t count = state_.content->count();
      if (cursor_ >= count) cursor_ = count == 0 ? 0 : count - 1;
    }
  }
  // Whatever follows the last intact entry is an interrupted append; appending after
  // it would turn it into damage.
  return !forWrite || state_.logEnd == size || file_->truncate(state_.logEnd);
}

void Database::placeCursorOn(const std::string& record) {
  const IndexContent& content = *state_.content;
  uint32_t count = content.count();
  const char* area = record.data() + kRecordHeaderSize;
  uint32_t first = 0;
  if (content.lowerBound(area, compare_, &first)) {
    for (uint32_t n = first; n < count && n - first < kMaxEqualRunScan; ++n) {
      RecordView view;
      if (!content.recordAt(n, &view)) break;
      if (view.length + kRecordPadding == record.size() &&
          std::memcmp(view.bytes, record.data(), view.length) == 0) {
        cursor_ = n;
        return;
      }
      if (compare_(view.stringArea(), area) != 0) break;
    }
  }
  // Gone: the record that took its place.
  cursor_ = first < count ? first : (count == 0 ? 0 : count - 1);
}

void Database::onChange(uint8_t kind, uint32_t position) {
  uint32_t count = state_.content->count();
  if (kind == kLogInsert) {
    if (count > 1 && position <= cursor_) ++cursor_;
    return;
  }
  if (position < cursor_) --cursor_;
  if (cursor_ >= count) cursor_ = count == 0 ? 0 : count - 1;
}

bool Database::appendEntry(const std::string& entry) {
  if (!file_->writeAt(state_.logEnd, entry.data(), entry.size())) return false;
  state_.logEnd += entry.size();
  wrote_ = true;
  return true;
}

void Database::bumpCounter() {
  uint8_t bytes[8];
  storeU64Le(bytes, state_.counter + 1);
  if (file_->writeAt(kChangeCounterOffset, bytes, sizeof bytes)) ++state_.counter;
}

bool Database::seek(const char* key) {
  if (key == nullptr || !refresh()) return false;
  uint32_t count = state_.content->count();
  uint32_t position = 0;
  if (count == 0 || !state_.content->lowerBound(key, compare_, &position)) return false;
  cursor_ = position < count ? position : count - 1;
  return true;
}

bool Database::gotoRecord(uint32_t n) {
  if (!refresh() || n >= state_.content->count()) return false;
  cursor_ = n;
  return true;
}

bool Database::prev() {
  if (!refresh() || cursor_ == 0 || cursor_ >= state_.content->count()) return false;
  --cursor_;
  return true;
}

bool Database::next() {
  if (!refresh() || uint64_t(cursor_) + 1 >= state_.content->count()) return false;
  ++cursor_;
  return true;
}

bool Database::getRecord(uint32_t* size, uint8_t* buffer) {
  RecordView view;
  if (!refresh() || !state_.content->recordAt(cursor_, &view) || *size < view.length) return false;
  std::memcpy(buffer, view.bytes, view.length);
  storeU32Le(buffer + 12, cursor_);
  *size = view.length;
  return true;
}

bool Database::search(uint32_t first, uint32_t count, uint32_t* size, uint8_t* buffer) {
  if (!refresh()) return false;
  const IndexContent& content = *state_.content;
  uint32_t total = content.count();
  uint32_t take = first >= total ? 0 : std::min(count, total - first);
  // Each record is located and checked once: the views found while sizing are the
  // ones copied.
  std::vector<RecordView> views(take);
  uint64_t need = 0;
  for (uint32_t i = 0; i < take; ++i) {
    if (!content.recordAt(first + i, &views[i])) return false;
    need += views[i].length;
  }
  if (need > *size) {
    *size = uint32_t(std::min<uint64_t>(need, UINT32_MAX));
    return false;
  }
  uint64_t at = 0;
  for (uint32_t i = 0; i < take; ++i) {
    std::memcpy(buffer + at, views[i].bytes, views[i].length);
    storeU32Le(buffer + at + 12, first + i);
    at += views[i].length;
  }
  *size = uint32_t(need);
  return true;
}

bool Database::insert(const NewRecord& record) {
  if (options_.readOnly || record.contentName == nullptr ||
      record.dataLength > kMaxStringAreaSize || (record.data == nullptr && record.dataLength > 0))
    return false;
  FileLock lock(*file_, true);
  if (!lock.held() || !syncWithFile(true, Cursor::kFindRecord)) return false;
  IndexContent& content = *state_.content;
  if (content.count() == UINT32_MAX) return false;
  // The callback may read past the string area; give it the same zero bytes a stored
  // record has behind it.
  std::string area(reinterpret_cast<const char*>(record.data), record.dataLength);
  area.append(kRecordPadding, '\0');
  uint32_t position = 0;
  if (!content.lowerBound(area.data(), compare_, &position)) return false;
  const auto* data = reinterpret_cast<const uint8_t*>(area.data());
  if (!appendEntry(encodeInsertEntry(state_.header.generation, position, record.contentDictId,
                                     record.contentRef, record.contentName, data,
                                     record.dataLength)))
    return false;
  content.insert(position, record.contentDictId, record.contentRef, record.contentName, data,
                 record.dataLength);
  onChange(kLogInsert, position);
  bumpCounter();
  maybeCompact();
  return true;
}

bool Database::erase(uint32_t n) {
  if (options_.readOnly) return false;
  FileLock lock(*file_, true);
  if (!lock.held() || !syncWithFile(true, Cursor::kFindRecord)) return false;
  if (n >= state_.content->count()) return false;
  if (!appendEntry(encodeDeleteEntry(state_.header.generation, n))) return false;
  state_.content->erase(n);
  onChange(kLogDelete, n);
  bumpCounter();
  maybeCompact();
  return true;
}

bool Database::contentName(uint32_t contentDictId, uint8_t* name) {
  if (!refresh()) return false;
  const uint8_t* kept = state_.content->contentName(contentDictId);
  if (kept == nullptr) return false;
  std::memcpy(name, kept, kContentNameSize);
  return true;
}

bool Database::recordCount(uint32_t* count) {
  if (!refresh()) return false;
  *count = state_.content->count();
  return true;
}

bool Database::compact() {
  if (options_.readOnly) return false;
  FileLock lock(*file_, true);
  if (!lock.held() || !syncWithFile(true, Cursor::kFindRecord)) return false;
  return state_.logEnd == state_.header.logOffset || compactLocked();
}

void Database::maybeCompact() {
  uint64_t logBytes = state_.logEnd - state_.header.logOffset;
  // Compaction cost grows with the segment, so the log may grow with it too; that keeps
  // the cost per write flat at any index size.
  if (logBytes > std::max(options_.compactMinLogBytes, state_.header.segmentSize / 4))
    compactLocked();
}

bool Database::compactLocked() {
  const IndexHeader old = state_.header;
  if (old.generation == UINT32_MAX) return false;
  uint32_t generation = old.generation + 1;
  std::string segmentPath = segmentPathFor(path_, generation);
  std::string temporary = segmentPath + ".tmp";
  uint64_t size = 0;
  bool written = [&] {
    auto out = platform::openFile(temporary.c_str(), platform::FileMode::kCreateTruncate);
    if (!out) return false;
    SegmentWriter writer(out.get(), 0);
    bool ok = state_.content->forEachRecord([&](const RecordView& r) {
      return writer.add(r.contentDictId(), r.contentRef(), r.bytes + kRecordHeaderSize,
                        r.length - kRecordHeaderSize);
    });
    return ok && writer.finish(state_.content->allNames(), &size) && out->sync();
  }();
  if (!written || !platform::replaceFile(temporary.c_str(), segmentPath.c_str())) {
    platform::removeFile(temporary.c_str());
    return false;
  }
  IndexHeader next = old;
  next.generation = generation;
  next.placement = kSegmentInOwnFile;
  next.segmentOffset = 0;
  next.segmentSize = size;
  uint8_t slot[kHeaderSlotSize];
  encodeHeaderSlot(next, slot);
  // Once this slot is written the new segment is in force; the old slot stays intact
  // until the next compaction, so a torn slot write falls back to it.
  if (!file_->writeAt(kHeaderSlotOffset[1 - old.slot], slot, sizeof slot)) return false;
  bool durable = file_->sync();
  // Entries of the old generation are ignored from now on; cutting them only saves space.
  file_->truncate(old.logOffset);
  bumpCounter();
  bool reloaded = syncWithFile(true, Cursor::kKeepPosition);
  removeOlderSegments(path_, next);
  return durable && reloaded;
}

}  // namespace orvia::db
