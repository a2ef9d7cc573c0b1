// Reads a text file line by line with a bound on the length of a line, so that a file
// without line breaks cannot make the compiler hold it whole.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

#include "compile/source/entry_source.h"

namespace orvia::compile {

class LineReader {
 public:
  static constexpr size_t kMaxLineSize = 1 << 20;

  enum class Line { kOk, kTooLong, kEnd, kFailed };

  LineReader() = default;
  ~LineReader();
  LineReader(const LineReader&) = delete;
  LineReader& operator=(const LineReader&) = delete;

  // False when the file cannot be opened.
  bool open(const std::string& path);
  // The next line without its "\n" (and a "\r" before it). A line longer than
  // kMaxLineSize is passed over whole and reported as kTooLong.
  Line next(std::string* line);

  uint64_t lineNumber() const { return lineNumber_; }
  uint64_t bytesRead() const { return bytesRead_; }
  uint64_t fileSize() const { return fileSize_; }

 private:
  std::FILE* file_ = nullptr;
  uint64_t lineNumber_ = 0;
  uint64_t bytesRead_ = 0;
  uint64_t fileSize_ = 0;
};

// What an entry source answers for a line its reader did not give as kOk: kEnd at the
// end, kFailed with *problem = unreadable when reading failed, and for an overlong line
// whatever badRecord(reason) answers, so that the source says where the line stands.
template <typename BadRecord>
ReadResult resultOfUnreadLine(LineReader::Line line, const char* unreadable, std::string* problem,
                              BadRecord badRecord) {
  if (line == LineReader::Line::kEnd) return ReadResult::kEnd;
  if (line == LineReader::Line::kTooLong)
    return badRecord("longer than " + std::to_string(LineReader::kMaxLineSize) + " bytes");
  *problem = unreadable;
  return ReadResult::kFailed;
}

}  // namespace orvia::compile
