// The dictd importer: NAME.index with NAME.dict.dz (gzip, as dictzip writes it) or a
// plain NAME.dict, as dictd dictionaries are installed. The body is opened only when the
// texts are asked for. The database's own "00-database-*" entries are passed over.
#pragma once

#include <string>
#include <vector>

#include "compile/source/dict_body.h"
#include "compile/source/dictd_index_line.h"
#include "compile/source/entry_source.h"
#include "compile/source/line_reader.h"

namespace orvia::compile {

class DictdSource : public EntrySource {
 public:
  // kIndex gives the entries in the index's order. Their texts then jump back and forth
  // through the body, and a compressed body inflates a chunk for nearly every entry;
  // kBody gives them in the order of their texts, inflating each chunk once, at the cost
  // of holding the index's lines (not the texts) while the source is open. Either way
  // each entry's ordinal is its line number in the index.
  enum class Order { kIndex, kBody };

  // Entry texts larger than this are reported as bad records, never read.
  static constexpr uint32_t kMaxTextSize = 16u << 20;

  // basePath is the path without ".index". False, with problem() set, when the index or
  // the body is missing or cannot be opened.
  bool open(const std::string& basePath, Order order = Order::kIndex);

  ReadResult next(SourceEntry* entry) override;
  const std::string& problem() const override { return problem_; }
  uint64_t bytesRead() const override;
  uint64_t totalBytes() const override;

 private:
  struct Line {
    ReadResult result;  // kEntry or kBadRecord
    DictdIndexLine fields;
    std::string problem;  // for kBadRecord
    uint64_t ordinal = 0;
  };

  ReadResult bad(const std::string& what);
  // The next line of the index that is an entry or a bad record; kEnd, kFailed else.
  ReadResult nextLine(Line* line);
  bool readAllLines();
  ReadResult give(Line& line, SourceEntry* entry);

  LineReader index_;
  DictBody body_;
  std::string line_;
  std::string problem_;
  // kBody: every line, bad ones first, then by offset in the body.
  std::vector<Line> lines_;
  size_t nextLine_ = 0;
  bool inBodyOrder_ = false;
};

}  // namespace orvia::compile
