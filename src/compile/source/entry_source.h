// A stream of source entries, read one at a time so that the compiler never holds a
// source whole.
#pragma once

#include <cstdint>
#include <string>

#include "compile/source/source_entry.h"

namespace orvia::compile {

enum class ReadResult {
  kEntry,      // *entry holds the next entry
  kBadRecord,  // one line or record of the source is malformed; problem() says which
  kEnd,        // no more entries
  kFailed,     // the source cannot be read on; problem() says why
};

class EntrySource {
 public:
  virtual ~EntrySource() = default;
  virtual ReadResult next(SourceEntry* entry) = 0;
  // The last kBadRecord or kFailed, in one line.
  virtual const std::string& problem() const = 0;
  // How far the source has been read, for progress reports.
  virtual uint64_t bytesRead() const = 0;
  virtual uint64_t totalBytes() const = 0;
};

}  // namespace orvia::compile
