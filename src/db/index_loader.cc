#include "db/index_loader.h"

#include <algorithm>
#include <vector>

#include "db/change_log.h"

namespace orvia::db {
namespace {

bool fail(Problem* problem, uint64_t offset, const char* what) {
  if (problem != nullptr) {
    problem->offset = offset;
    problem->what = what;
  }
  return false;
}

constexpr size_t kLogChunkSize = 256 * 1024;

}  // namespace

bool readIndexHeader(const platform::File& file, IndexHeader* header, uint64_t* counter,
                     uint64_t* fileSize, Problem* problem) {
  uint8_t prefix[kIndexPrefixSize];
  size_t got = 0;
  if (!file.size(fileSize) || !file.readAt(0, prefix, sizeof prefix, &got))
    return fail(problem, 0, "file cannot be read");
  if (got < sizeof prefix) return fail(problem, got, "file shorter than its 256-byte prefix");
  switch (decodeIndexPrefix(prefix, header)) {
    case HeaderStatus::kNotIndex:
      return fail(problem, 0, "not an index file: bad magic");
    case HeaderStatus::kCorrupt:
      return fail(problem, kHeaderSlotOffset[0], "no valid header slot");
    case HeaderStatus::kOk:
      break;
  }
  if (*fileSize < header->logOffset) return fail(problem, *fileSize, "file ends before its log");
  *counter = decodeChangeCounter(prefix);
  return true;
}

bool openSegment(const std::string& indexPath, const IndexHeader& header,
                 const platform::FileMapping& indexMap, LoadedSegment* out, Problem* problem) {
  LoadedSegment segment;
  const platform::FileMapping* map = &indexMap;
  if (header.placement == kSegmentInFile) {
    if (indexMap.size() < header.segmentOffset + header.segmentSize)
      return fail(problem, header.segmentOffset, "segment outside the mapped file");
    segment.fileOffset = header.segmentOffset;
  } else {
    segment.file = platform::openFile(segmentPathFor(indexPath, header.generation).c_str(),
                                      platform::FileMode::kRead);
    uint64_t size = 0;
    if (!segment.file || !segment.file->size(&size))
      return fail(problem, 0, "segment file missing");
    if (size != header.segmentSize) return fail(problem, size, "segment file has the wrong size");
    segment.map = segment.file->map(size);
    if (!segment.map) return fail(problem, 0, "segment file cannot be mapped");
    map = segment.map.get();
  }
  if (!SegmentReader::open(*map, segment.fileOffset, header.segmentSize, &segment.reader))
    return fail(problem, segment.fileOffset, "segment header damaged");
  *out = std::move(segment);
  return true;
}

bool replayLog(const platform::File& file, const IndexHeader& header, uint64_t from,
               uint64_t fileSize, IndexContent* content,
               const std::function<void(uint8_t, uint32_t)>& onChange, LogReplay* replay,
               Problem* problem) {
  replay->end = from;
  replay->tornTail = false;
  std::vector<uint8_t> buffer;
  uint64_t bufferStart = from;
  uint64_t at = from;
  for (;;) {
    uint64_t remaining = fileSize - at;
    size_t available = size_t(bufferStart + buffer.size() - at);
    if (available < std::min<uint64_t>(remaining, kMaxLogEntrySize)) {
      // Refill from the current entry so that a whole entry is always in view.
      size_t want = size_t(std::min<uint64_t>(remaining, kLogChunkSize));
      buffer.resize(want);
      size_t got = 0;
      if (!file.readAt(at, buffer.data(), want, &got))
        return fail(problem, at, "log cannot be read");
      buffer.resize(got);
      bufferStart = at;
      available = got;
      remaining = std::min<uint64_t>(remaining, got);
    }
    LogEntry entry;
    size_t size = 0;
    const uint8_t* p = buffer.data() + (at - bufferStart);
    switch (decodeLogEntry(p, available, remaining, header.generation, at == header.logOffset,
                           &entry, &size)) {
      case LogRead::kEnd:
        return true;
      case LogRead::kTornTail:
        replay->tornTail = true;
        return true;
      case LogRead::kCorrupt:
        return fail(problem, at, "change log entry damaged");
      case LogRead::kEntry:
        break;
    }
    uint32_t count = content->count();
    if (entry.kind == kLogInsert) {
      if (entry.position > count || count == UINT32_MAX)
        return fail(problem, at, "insert beyond the last record");
      content->insert(entry.position, entry.contentDictId, entry.contentRef, entry.contentName,
                      entry.data, entry.dataLength);
    } else {
      if (entry.position >= count) return fail(problem, at, "delete of a missing record");
      content->erase(entry.position);
    }
    at += size;
    replay->end = at;
    if (onChange) onChange(entry.kind, entry.position);
  }
}

}  // namespace orvia::db
