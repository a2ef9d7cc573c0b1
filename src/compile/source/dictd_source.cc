#include "compile/source/dictd_source.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <optional>

namespace orvia::compile {

bool DictdSource::open(const std::string& basePath, Order order) {
  const std::string indexPath = basePath + ".index";
  if (!index_.open(indexPath)) {
    problem_ = "cannot open " + indexPath + ": " + std::strerror(errno);
    return false;
  }
  std::error_code error;
  std::string bodyPath = basePath + ".dict.dz";
  if (!std::filesystem::exists(bodyPath, error)) bodyPath = basePath + ".dict";
  if (!std::filesystem::exists(bodyPath, error)) {
    problem_ = "no " + basePath + ".dict.dz or " + bodyPath;
    return false;
  }
  if (!body_.open(bodyPath)) {
    problem_ = "cannot read " + bodyPath + ": " + body_.problem();
    return false;
  }
  return order == Order::kIndex || readAllLines();
}

bool DictdSource::readAllLines() {
  inBodyOrder_ = true;
  Line line;
  for (ReadResult r; (r = nextLine(&line)) != ReadResult::kEnd;) {
    if (r == ReadResult::kFailed) return false;
    lines_.push_back(std::move(line));
  }
  std::stable_sort(lines_.begin(), lines_.end(), [](const Line& a, const Line& b) {
    const bool aEntry = a.result == ReadResult::kEntry, bEntry = b.result == ReadResult::kEntry;
    return aEntry != bEntry ? bEntry : a.fields.offset < b.fields.offset;
  });
  return true;
}

ReadResult DictdSource::bad(const std::string& what) {
  problem_ = "line " + std::to_string(index_.lineNumber()) + " of the index: " + what;
  return ReadResult::kBadRecord;
}

ReadResult DictdSource::nextLine(Line* out) {
  for (;;) {
    LineReader::Line read = index_.next(&line_);
    ReadResult result = ReadResult::kEntry;
    if (read != LineReader::Line::kOk) {
      result = resultOfUnreadLine(read, "the index cannot be read", &problem_,
                                  [this](const std::string& what) { return bad(what); });
    } else if (line_.empty()) {
      continue;
    } else if (std::optional<DictdIndexLine> parsed = parseDictdIndexLine(line_)) {
      if (isDictdDatabaseEntry(parsed->headword)) continue;
      out->fields = std::move(*parsed);
    } else {
      result = bad("not headword, offset and length");
    }
    out->result = result;
    out->ordinal = index_.lineNumber();
    if (result == ReadResult::kBadRecord) out->problem = problem_;
    return result;
  }
}

ReadResult DictdSource::give(Line& line, SourceEntry* entry) {
  problem_ = line.problem;
  if (line.result != ReadResult::kEntry) return line.result;
  *entry = SourceEntry{};
  entry->headword = std::move(line.fields.headword);
  entry->ordinal = line.ordinal;
  const uint32_t length = line.fields.length;
  if (length > kMaxTextSize) {
    problem_ = "line " + std::to_string(line.ordinal) + " of the index: a text of " +
               std::to_string(length) + " bytes";
    return ReadResult::kBadRecord;
  }
  if (!body_.read(line.fields.offset, length, &entry->text)) {
    problem_ = "line " + std::to_string(line.ordinal) +
               " of the index: its text lies beyond the end of the body";
    return ReadResult::kBadRecord;
  }
  return ReadResult::kEntry;
}

ReadResult DictdSource::next(SourceEntry* entry) {
  if (inBodyOrder_) {
    if (nextLine_ == lines_.size()) return ReadResult::kEnd;
    return give(lines_[nextLine_++], entry);
  }
  Line line;
  const ReadResult result = nextLine(&line);
  return result == ReadResult::kEntry || result == ReadResult::kBadRecord ? give(line, entry)
                                                                          : result;
}

uint64_t DictdSource::bytesRead() const {
  return inBodyOrder_ ? nextLine_ : index_.bytesRead();
}

uint64_t DictdSource::totalBytes() const {
  return inBodyOrder_ ? lines_.size() : index_.fileSize();
}

}  // namespace orvia::compile
