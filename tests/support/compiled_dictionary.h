// Whole compiles for the compiler's tests: entries from a list or any source into a
// folder, and what was written read back, the index records through the record store and
// their contents through the content decoders.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "compile/dictionary_compiler.h"
#include "compile/index/index_writer.h"
#include "content/content_record.h"
#include "content/file_access.h"
#include "dict/index_record.h"
#include "lang/lang_ops.h"
#include "orviadb.h"
#include "support/folder_resolver.h"
#include "support/store_records.h"
#include "support/temp_dir.h"

namespace orvia::testing {

// Gives a list of entries, once.
class ListSource : public compile::EntrySource {
 public:
  explicit ListSource(const std::vector<compile::SourceEntry>* entries) : entries_(entries) {}
  compile::ReadResult next(compile::SourceEntry* entry) override {
    if (next_ == entries_->size()) return compile::ReadResult::kEnd;
    *entry = (*entries_)[next_++];
    return compile::ReadResult::kEntry;
  }
  const std::string& problem() const override { return problem_; }
  uint64_t bytesRead() const override { return next_; }
  uint64_t totalBytes() const override { return entries_->size(); }

 private:
  const std::vector<compile::SourceEntry>* entries_;
  size_t next_ = 0;
  std::string problem_;
};

inline compile::SourceEntry entryOf(const std::string& headword, const std::string& text) {
  compile::SourceEntry e;
  e.headword = headword;
  e.text = text;
  return e;
}

inline compile::SourceOpener openerOf(const std::vector<compile::SourceEntry>* entries) {
  return [entries](std::string*) { return std::make_unique<ListSource>(entries); };
}

// Opens an importer's Source on path (with its further options), or gives null and why it
// cannot.
template <typename Source, typename... Options>
compile::SourceOpener sourceOpener(const std::string& path, Options... options) {
  return [=](std::string* problem) -> std::unique_ptr<compile::EntrySource> {
    auto source = std::make_unique<Source>();
    if (source->open(path, options...)) return source;
    *problem = source->problem();
    return nullptr;
  };
}

// Compiles into folder; a compile that fails fails the test.
inline compile::CompiledDictionary compileFrom(const compile::SourceOpener& open, uint32_t dictId,
                                               const std::string& folder,
                                               compile::EntryEncoding encoding,
                                               const compile::DataFileOptions& dataFile = {}) {
  const compile::DictionaryCompileOptions options{dictId, folder, encoding, dataFile};
  compile::CompiledDictionary result;
  std::string problem;
  EXPECT_TRUE(compile::compileDictionary(open, options, nullptr, &result, &problem)) << problem;
  return result;
}

inline compile::CompiledDictionary compileList(const std::vector<compile::SourceEntry>& entries,
                                               uint32_t dictId, const std::string& folder,
                                               compile::EntryEncoding encoding,
                                               const compile::DataFileOptions& dataFile = {}) {
  return compileFrom(openerOf(&entries), dictId, folder, encoding, dataFile);
}

// An index record as the store gives it back, with where its content lies.
struct CompiledRecord {
  std::string bytes;  // the whole record
  std::string key;
  uint32_t contentDictId = 0, contentRef = 0;
  bool extended = false;
  uint32_t locator = 0;  // the low 24 bits of contentRef, or the extendedRef
};

// Every record of the index at path, with keys of the language, in key order.
inline std::vector<CompiledRecord> readIndexRecordsAt(const std::string& path, uint32_t language) {
  std::vector<CompiledRecord> out;
  DBHANDLE db = dbOpen(path.c_str(), lang::getCompareKeysFn(language));
  EXPECT_NE(db, nullptr) << path;
  for (const std::string& bytes : allRecords(db)) {
    dict::IndexRecordView view;
    if (!dict::parseIndexRecord(reinterpret_cast<const uint8_t*>(bytes.data()),
                                uint32_t(bytes.size()), &view)) {
      ADD_FAILURE() << "record " << out.size() << " cannot be read";
      break;
    }
    const uint32_t locator = view.contentRef & dict::kExtendedLocator;
    out.push_back({bytes.substr(0, view.recordLength), view.key(), view.contentDictId,
                   view.contentRef, locator == dict::kExtendedLocator, locator});
    if (out.back().extended && !view.extendedRef(&out.back().locator))
      ADD_FAILURE() << "no extendedRef: " << out.back().key;
  }
  dbClose(db);
  return out;
}

// Every record of dictId's index in folder.
inline std::vector<CompiledRecord> readIndexRecords(const std::string& folder, uint32_t dictId) {
  return readIndexRecordsAt(compile::indexFilePath(folder, dictId), lang::languageOf(dictId));
}

// A record of an index with its content: the type, length and continuation of its first
// content record, and its whole text, continuations followed into further data files of
// the folder; "<unreadable>" when it cannot be read.
struct RecordContent {
  CompiledRecord record;
  uint8_t type = 0;
  uint32_t length = 0, continuation = 0;
  std::string text;
};

// Every record of dictId's index in folder, in key order, with its content.
inline std::vector<RecordContent> readRecordContents(const std::string& folder, uint32_t dictId) {
  std::vector<RecordContent> out;
  const std::string path = compile::dictFilePath(folder, dictId, ".DAT");
  content::FileHandle file = content::openFileRead(path.c_str());
  EXPECT_NE(file, content::kInvalidFile) << path;
  resolveIn(folder, dictId);
  for (CompiledRecord& record : readIndexRecords(folder, dictId)) {
    RecordContent r{std::move(record), 0, 0, 0, ""};
    const uint32_t at = r.record.locator;
    uint32_t header = 0, size = 0, read = 0;
    EXPECT_TRUE(content::readU32At(file, at, &header) &&
                content::readU32At(file, at + 4, &r.continuation))
        << r.record.key;
    r.type = uint8_t(header >> 24);
    r.length = header & 0xFFFFFF;
    bool readable = content::contentSizeAt(file, at, &resolveInFolder, &size).ok();
    r.text.resize(size_t(size) + 1);
    readable =
        readable &&
        content::contentTextAt(file, at, r.text.data(), size + 1, &resolveInFolder, &read).ok();
    r.text.resize(size);
    if (!readable || size == 0 || read != size) r.text = "<unreadable>";
    out.push_back(std::move(r));
  }
  content::closeFile(file);
  return out;
}

// Compiles entries into a folder of its own and reads every record back with its content.
struct CompiledContents {
  compile::CompiledDictionary result;
  std::vector<RecordContent> contents;
};
inline CompiledContents compileAndRead(const std::vector<compile::SourceEntry>& entries,
                                       uint32_t dictId, compile::EntryEncoding encoding,
                                       const compile::DataFileOptions& dataFile = {}) {
  TempDir dir;
  CompiledContents out{compileList(entries, dictId, dir.path(), encoding, dataFile), {}};
  out.contents = readRecordContents(dir.path(), dictId);
  return out;
}

}  // namespace orvia::testing
