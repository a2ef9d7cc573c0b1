// The index half of the dictionary compiler: takes entries in any order and makes the
// records of the dictionary's index, numbered, sorted and checked, ready to be loaded.
// It keeps one small record per entry and never an entry's text, so its memory follows
// the size of the index, not that of the source.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "compile/key/entry_key.h"
#include "compile/key/index_record_builder.h"
#include "compile/key/skip_reason.h"
#include "compile/source/source_entry.h"
#include "orviadb.h"

namespace orvia::compile {

struct CompiledIndex {
  std::vector<uint8_t> records;  // back to back, in key order, numbered from 0
  uint32_t recordCount = 0;
  DbContentName contentName{};  // the dictionary's own "XXXXXXXX.DAT"
  std::vector<SkippedEntry> skipped;
  uint32_t homographRuns = 0;     // keys shared by two entries or more
  uint32_t homographEntries = 0;  // entries that got a homograph number
};

class IndexCompiler {
 public:
  // REQUIRES: dictId is a valid dictionary id.
  explicit IndexCompiler(uint32_t dictId);

  // False when the dictionary's language has no code page and so no keys.
  bool valid() const { return keys_.valid(); }

  // False when the entry is left out at once (its key is unusable); it may still be
  // left out by finish.
  bool add(const SourceEntry& entry);
  // Counts an entry the importer could not read; where names it in the report.
  void addBadSourceRecord(const std::string& where);

  uint64_t entriesSeen() const { return entriesSeen_; }

  // Numbers homographs ("@1", "@2", ... in the entries' ordinal order, then the order
  // they were added in), sorts by the language's
  // compareKeys, leaves out every record that breaks the order and builds the records.
  // The compiler is empty afterwards.
  CompiledIndex finish();

 private:
  struct Pending {
    std::string searchKey, shown, displayWord;
    std::string sourceHeadword;  // UTF-8, kept only where it differs from shown
    uint32_t contentRef = 0;
    std::optional<uint32_t> extendedRef;
    uint8_t level = 0;
    std::optional<uint8_t> vcode;
    uint64_t ordinal = 0;
    bool dropped = false;
  };

  void skip(Pending& entry, SkipReason reason, CompiledIndex* out);
  void numberHomographs(CompiledIndex* out);
  std::vector<uint32_t> sortedAndChecked(CompiledIndex* out);
  void buildRecords(const std::vector<uint32_t>& order, CompiledIndex* out);
  IndexRecordFields fieldsOf(const Pending& entry) const;

  uint32_t dictId_;
  bool hasVcode_;
  EntryKeyMaker keys_;
  DbCompareFn compareKeys_;
  std::vector<Pending> pending_;
  std::vector<SkippedEntry> skippedEarly_;
  uint64_t entriesSeen_ = 0;
};

}  // namespace orvia::compile
