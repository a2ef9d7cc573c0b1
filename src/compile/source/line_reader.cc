#include "compile/source/line_reader.h"

namespace orvia::compile {

LineReader::~LineReader() {
  // Sources are only read: a failed close loses nothing.
  if (file_ != nullptr) static_cast<void>(std::fclose(file_));
}

bool LineReader::open(const std::string& path) {
  file_ = std::fopen(path.c_str(), "rb");
  if (file_ == nullptr) return false;
  if (std::fseek(file_, 0, SEEK_END) == 0) {
    long size = std::ftell(file_);
    fileSize_ = size > 0 ? uint64_t(size) : 0;
  }
  std::rewind(file_);
  return true;
}

LineReader::Line LineReader::next(std::string* line) {
  line->clear();
  if (file_ == nullptr) return Line::kFailed;
  bool tooLong = false, any = false;
  int c;
  while ((c = std::getc(file_)) != EOF) {
    any = true;
    ++bytesRead_;
    if (c == '\n') break;
    if (line->size() < kMaxLineSize)
      line->push_back(char(c));
    else
      tooLong = true;
  }
  if (std::ferror(file_)) return Line::kFailed;
  if (!any) return Line::kEnd;
  ++lineNumber_;
  if (!line->empty() && line->back() == '\r') line->pop_back();
  if (tooLong) {
    line->clear();
    return Line::kTooLong;
  }
  return Line::kOk;
}

}  // namespace orvia::compile
