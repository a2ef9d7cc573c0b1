// Reading an index file into memory: its header, its segment and its change log. Shared
// by open handles, which act on failures, and verify, which reports them.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "db/index_content.h"
#include "db/index_header.h"
#include "db/segment_reader.h"
#include "platform/file.h"

namespace orvia::db {

// Where and why a load stopped. For an own-file segment, offsets are in that file.
struct Problem {
  uint64_t offset = 0;
  std::string what;
};

struct LoadedSegment {
  std::unique_ptr<platform::File> file;        // null when the segment is in the index file
  std::unique_ptr<platform::FileMapping> map;  // likewise
  SegmentReader reader;
  uint64_t fileOffset = 0;  // where the segment starts in the file that holds it
};

// Reads the prefix. *fileSize and *counter are read along with it.
bool readIndexHeader(const platform::File& file, IndexHeader* header, uint64_t* counter,
                     uint64_t* fileSize, Problem* problem);

// Opens the segment the header names. indexMap maps the index file from 0 to at least
// header.logOffset; an in-file segment points into it, so it must outlive the result.
bool openSegment(const std::string& indexPath, const IndexHeader& header,
                 const platform::FileMapping& indexMap, LoadedSegment* out, Problem* problem);

struct LogReplay {
  uint64_t end = 0;       // after the last intact entry
  bool tornTail = false;  // bytes after end are an interrupted append
};

// Replays the entries from `from` up to fileSize into content, calling
// onChange(kind, position) after each. On damage returns false with the entries before
// it applied and *replay describing them.
bool replayLog(const platform::File& file, const IndexHeader& header, uint64_t from,
               uint64_t fileSize, IndexContent* content,
               const std::function<void(uint8_t, uint32_t)>& onChange, LogReplay* replay,
               Problem* problem);

}  // namespace orvia::db
