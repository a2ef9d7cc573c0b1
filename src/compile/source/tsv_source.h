// The TSV importer: one entry per line, fields separated by tabs. Without a header the
// columns are headword and text. A first line with a field "headword" names the columns
// instead, from "headword", "text", "display", "level" and "vcode", in any order;
// only "headword" is required. In the text, "\n", "\t" and "\\" stand for a line break,
// a tab and a backslash. A level is a decimal number up to 255, a vcode the same or "0x"
// and hexadecimal digits. Blank lines are passed over.
#pragma once

#include <string>
#include <vector>

#include "compile/source/entry_source.h"
#include "compile/source/line_reader.h"

namespace orvia::compile {

class TsvSource : public EntrySource {
 public:
  enum class Column { kHeadword, kText, kDisplay, kLevel, kVcode };

  TsvSource() = default;

  // False, with problem() set, when the file cannot be opened or its header names an
  // unknown or repeated column.
  bool open(const std::string& path);

  ReadResult next(SourceEntry* entry) override;
  const std::string& problem() const override { return problem_; }
  uint64_t bytesRead() const override { return lines_.bytesRead(); }
  uint64_t totalBytes() const override { return lines_.fileSize(); }

 private:
  bool readHeader();
  ReadResult bad(const std::string& what);
  ReadResult parseRow(SourceEntry* entry);

  LineReader lines_;
  std::vector<Column> columns_{Column::kHeadword, Column::kText};
  bool pendingFirstLine_ = false;
  std::string line_;
  std::string problem_;
};

// "\n", "\t" and "\\" replaced; any other backslash kept as it is.
std::string unescapeTsvText(const std::string& field);

}  // namespace orvia::compile
