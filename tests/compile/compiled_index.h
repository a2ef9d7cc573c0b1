// Compiles a source into an index file and reads the file back through the record store.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "compile/compile_entries.h"
#include "compile/index/index_compiler.h"
#include "compile/index/index_writer.h"
#include "dict/index_record.h"
#include "lang/lang_ops.h"
#include "orviadb.h"

namespace orvia::compile::testing {

struct StoredRecord {
  std::string searchKey, key, word;
  uint32_t contentDictId = 0, contentRef = 0, recordNumber = 0;
  uint8_t lastByte = 0;
};

// Reads source into an index of dictId in folder; the compiled index is returned.
inline CompiledIndex compileInto(EntrySource& source, uint32_t dictId, const std::string& folder) {
  IndexCompiler compiler(dictId);
  std::string problem;
  EXPECT_TRUE(addAllEntries(source, compiler, nullptr, &problem)) << problem;
  CompiledIndex index = compiler.finish();
  EXPECT_TRUE(writeIndexFile(folder, dictId, index, &problem)) << problem;
  return index;
}

// Hands every record of the index file to visit, in order, read one at a time with
// dbGoto.
template <typename Visit>
void forEachIndexRecord(const std::string& path, uint32_t dictId, Visit visit) {
  DBHANDLE db = dbOpen(path.c_str(), lang::getCompareKeysFn(lang::languageOf(dictId)));
  EXPECT_NE(db, nullptr) << path;
  if (db == nullptr) return;
  uint32_t count = 0;
  EXPECT_NE(dbGetInfo(db, kDbInfoRecordCount, &count), 0);
  uint8_t buffer[kDbMaxRecordSize];
  for (uint32_t n = 0; n < count; ++n) {
    uint32_t size = sizeof buffer;
    dict::IndexRecordView view;
    if (dbGoto(db, n) == 0 || dbGetRecord(db, &size, buffer) == 0 ||
        !dict::parseIndexRecord(buffer, size, &view)) {
      ADD_FAILURE() << "record " << n << " cannot be read";
      break;
    }
    visit(view);
  }
  dbClose(db);
}

inline std::vector<StoredRecord> readIndexFile(const std::string& path, uint32_t dictId) {
  std::vector<StoredRecord> out;
  forEachIndexRecord(path, dictId, [&](const dict::IndexRecordView& view) {
    out.push_back({view.searchKey, view.key(), view.word(), view.contentDictId, view.contentRef,
                   view.recordNumber, view.lastByte});
  });
  return out;
}

}  // namespace orvia::compile::testing
