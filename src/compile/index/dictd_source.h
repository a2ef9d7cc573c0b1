// The dictd importer: NAME.index with NAME.dict.dz (gzip, as dictzip writes it) or a
// plain NAME.dict, as dictd dictionaries are installed. The body is opened only when the
// texts are asked for. The database's own "00-database-*" entries are passed over.
#pragma once

#include <string>

#include "compile/index/dict_body.h"
#include "compile/index/entry_source.h"
#include "compile/index/line_reader.h"

namespace orvia::compile {

class DictdSource : public EntrySource {
 public:
  // Entry texts larger than this are reported as bad records, never read.
  static constexpr uint32_t kMaxTextSize = 16u << 20;

  // basePath is the path without ".index". False, with problem() set, when the index or
  // the body is missing or cannot be opened.
  bool open(const std::string& basePath, WithText withText);

  ReadResult next(SourceEntry* entry) override;
  const std::string& problem() const override { return problem_; }
  uint64_t bytesRead() const override { return index_.bytesRead(); }
  uint64_t totalBytes() const override { return index_.fileSize(); }

 private:
  ReadResult bad(const std::string& what);

  LineReader index_;
  DictBody body_;
  WithText withText_ = WithText::kNo;
  std::string line_;
  std::string problem_;
};

}  // namespace orvia::compile
