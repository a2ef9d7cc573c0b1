#include "compile/index/dictd_source.h"

#include <filesystem>
#include <optional>

#include "compile/index/dictd_index_line.h"

namespace orvia::compile {

bool DictdSource::open(const std::string& basePath, WithText withText) {
  withText_ = withText;
  const std::string indexPath = basePath + ".index";
  if (!index_.open(indexPath)) {
    problem_ = "cannot open " + indexPath;
    return false;
  }
  std::error_code error;
  std::string bodyPath = basePath + ".dict.dz";
  if (!std::filesystem::exists(bodyPath, error)) bodyPath = basePath + ".dict";
  if (!std::filesystem::exists(bodyPath, error)) {
    problem_ = "no " + basePath + ".dict.dz or " + bodyPath;
    return false;
  }
  if (withText == WithText::kNo) return true;
  if (!body_.open(bodyPath)) {
    problem_ = "cannot open " + bodyPath;
    return false;
  }
  return true;
}

ReadResult DictdSource::bad(const std::string& what) {
  problem_ = "line " + std::to_string(index_.lineNumber()) + " of the index: " + what;
  return ReadResult::kBadRecord;
}

ReadResult DictdSource::next(SourceEntry* entry) {
  for (;;) {
    LineReader::Line read = index_.next(&line_);
    if (read != LineReader::Line::kOk) {
      return resultOfUnreadLine(read, "the index cannot be read", &problem_,
                                [this](const std::string& what) { return bad(what); });
    }
    if (line_.empty()) continue;
    std::optional<DictdIndexLine> parsed = parseDictdIndexLine(line_);
    if (!parsed) return bad("not headword, offset and length");
    if (isDictdDatabaseEntry(parsed->headword)) continue;
    *entry = SourceEntry{};
    entry->headword = std::move(parsed->headword);
    if (withText_ == WithText::kYes) {
      if (parsed->length > kMaxTextSize)
        return bad("a text of " + std::to_string(parsed->length) + " bytes");
      if (!body_.read(parsed->offset, parsed->length, &entry->text))
        return bad("its text lies beyond the end of the body");
    }
    return ReadResult::kEntry;
  }
}

}  // namespace orvia::compile
