// Whole compiles for the data-file tests: entries from a list, and each index record
// with the content its locator points to.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "compile/dictionary_compiler.h"
#include "compile/index/index_writer.h"
#include "compiled_index.h"
#include "content/content_record.h"
#include "content/file_access.h"
#include "dict/config.h"
#include "dict/index_record.h"
#include "lang/lang_ops.h"
#include "orviadb.h"
#include "support/folder_resolver.h"

namespace orvia::compile::testing {

// Gives a list of entries, once.
class ListSource : public EntrySource {
 public:
  explicit ListSource(const std::vector<SourceEntry>* entries) : entries_(entries) {}
  ReadResult next(SourceEntry* entry) override {
    if (next_ == entries_->size()) return ReadResult::kEnd;
    *entry = (*entries_)[next_++];
    return ReadResult::kEntry;
  }
  const std::string& problem() const override { return problem_; }
  uint64_t bytesRead() const override { return next_; }
  uint64_t totalBytes() const override { return entries_->size(); }

 private:
  const std::vector<SourceEntry>* entries_;
  size_t next_ = 0;
  std::string problem_;
};

inline SourceEntry entryOf(const std::string& headword, const std::string& text,
                           uint8_t level = 0) {
  SourceEntry e;
  e.headword = headword;
  e.text = text;
  e.level = level;
  return e;
}

inline SourceOpener openerOf(const std::vector<SourceEntry>* entries) {
  return [entries](WithText, std::string*) { return std::make_unique<ListSource>(entries); };
}

inline CompiledDictionary compileList(const std::vector<SourceEntry>& entries, uint32_t dictId,
                                      const std::string& folder, EntryEncoding encoding,
                                      const DataFileOptions& dataFile = {}) {
  DictionaryCompileOptions options;
  options.dictId = dictId;
  options.folder = folder;
  options.encoding = encoding;
  options.dataFile = dataFile;
  CompiledDictionary result;
  std::string problem;
  EXPECT_TRUE(compileDictionary(openerOf(&entries), options, nullptr, &result, &problem))
      << problem;
  return result;
}

// An index record with where its content lies.
struct LocatedRecord {
  std::string key;
  uint32_t contentDictId = 0, contentRef = 0;
  bool extended = false;
  uint32_t locator = 0;  // the low 24 bits of contentRef, or the extendedRef
};

// Every record of dictId's index in folder, in key order.
inline std::vector<LocatedRecord> readLocatedRecords(const std::string& folder, uint32_t dictId) {
  std::vector<LocatedRecord> out;
  forEachIndexRecord(indexFilePath(folder, dictId), dictId, [&](const dict::IndexRecordView& view) {
    LocatedRecord r;
    r.key = view.key();
    r.contentDictId = view.contentDictId;
    r.contentRef = view.contentRef;
    r.locator = view.contentRef & dict::kExtendedLocator;
    r.extended = r.locator == dict::kExtendedLocator;
    if (r.extended && !view.extendedRef(&r.locator)) ADD_FAILURE() << "no extendedRef: " << r.key;
    out.push_back(r);
  });
  return out;
}

// The text of the record at offset of the data file, or "<unreadable>". Further data
// files are found through resolve.
inline std::string contentAt(content::FileHandle file, uint32_t offset,
                             content::DictPathResolver resolve = nullptr) {
  if (resolve == nullptr) resolve = &dict::resolveDictFilePath;
  uint32_t size = 0, read = 0;
  if (!content::contentSizeAt(file, offset, resolve, &size).ok()) return "<unreadable>";
  std::string text(size_t(size) + 1, '\0');
  if (!content::contentTextAt(file, offset, text.data(), size + 1, resolve, &read).ok() ||
      read != size)
    return "<unreadable>";
  text.resize(size);
  return text;
}

// The content type byte of the record at offset.
inline uint8_t contentTypeAt(content::FileHandle file, uint32_t offset) {
  uint32_t header = 0;
  return content::readU32At(file, offset, &header) ? uint8_t(header >> 24) : 0xEE;
}

}  // namespace orvia::compile::testing
