#include "db/verify.h"

#include <string>

#include "base/bytes.h"
#include "db/crc32c.h"

namespace orvia::db {
namespace {

bool fail(Problem* problem, uint64_t offset, const std::string& what) {
  problem->offset = offset;
  problem->what = what;
  return false;
}

bool checkSegment(const LoadedSegment& segment, DbCompareFn compare, Problem* problem) {
  const SegmentReader& r = segment.reader;
  const uint64_t base = segment.fileOffset;
  if (!r.fetchAll()) return fail(problem, base, "segment cannot be read");
  const uint8_t* header = r.header();
  if (loadU32Le(header + 24) != crc32c(r.records(), r.recordsSize()))
    return fail(problem, base + kSegmentHeaderSize, "records area fails its checksum");
  if (loadU32Le(header + 28) != crc32c(r.offsetTable(), r.offsetTableSize()))
    return fail(problem, base + r.offsetTableOffset(), "offset table fails its checksum");
  if (loadU32Le(header + 32) != crc32c(r.nameTable(), r.nameTableSize()))
    return fail(problem, base + r.offsetTableOffset() + r.offsetTableSize(),
                "name table fails its checksum");
  if (loadU32Le(r.offsetTable()) != 0 ||
      loadU32Le(r.offsetTable() + 4 * uint64_t(r.count())) != r.recordsSize())
    return fail(problem, base + r.offsetTableOffset(), "offset table does not span the records");
  RecordView previous;
  for (uint32_t i = 0; i < r.count(); ++i) {
    RecordView view;
    uint64_t offset = base + r.recordOffset(i);
    if (!r.recordAt(i, &view))
      return fail(problem, offset, "record " + std::to_string(i) + " damaged");
    if (loadU32Le(view.bytes + 12) != 0)
      return fail(problem, offset + 12, "record " + std::to_string(i) + " number not zero");
    if (i > 0 && compare != nullptr && compare(previous.stringArea(), view.stringArea()) > 0)
      return fail(problem, offset, "record " + std::to_string(i) + " sorts before its predecessor");
    previous = view;
  }
  for (uint32_t i = 1; i < r.nameCount(); ++i) {
    if (r.nameIdAt(i) <= r.nameIdAt(i - 1))
      return fail(problem,
                  base + r.offsetTableOffset() + r.offsetTableSize() + uint64_t(i) * kNameEntrySize,
                  "content names not in ascending order");
  }
  return true;
}

}  // namespace

bool verifyIndex(const std::string& path, DbCompareFn compare, Problem* problem) {
  auto file = platform::openFile(path.c_str(), platform::FileMode::kRead);
  if (!file) return fail(problem, 0, "file cannot be opened");
  IndexHeader header;
  uint64_t counter = 0, size = 0;
  if (!readIndexHeader(*file, &header, &counter, &size, problem)) return false;
  auto map = file->map(header.logOffset);
  if (!map) return fail(problem, 0, "file cannot be mapped");
  LoadedSegment segment;
  if (!openSegment(path, header, *map, &segment, problem)) return false;
  if (!checkSegment(segment, compare, problem)) {
    if (segment.file)
      problem->what =
          "segment file " + segmentPathFor(path, header.generation) + ": " + problem->what;
    return false;
  }
  IndexContent content(segment.reader);
  LogReplay replay;
  if (!replayLog(*file, header, header.logOffset, size, &content, nullptr, &replay, problem))
    return false;
  if (compare == nullptr) return true;
  uint32_t number = 0;
  std::string previous;
  bool ordered = content.forEachRecord([&](const RecordView& view) {
    std::string current(view.stringArea(), view.length - kRecordHeaderSize);
    current.append(kRecordPadding, '\0');
    bool inOrder = number == 0 || compare(previous.data(), current.data()) <= 0;
    previous.swap(current);
    ++number;
    return inOrder;
  });
  if (!ordered)
    return fail(problem, header.logOffset,
                "record " + std::to_string(number - 1) + " sorts before its predecessor");
  return true;
}

std::string describe(const Problem& problem) {
  return "offset " + std::to_string(problem.offset) + ": " + problem.what;
}

}  // namespace orvia::db
