#include "compile/compile_entries.h"

namespace orvia::compile {
namespace {

// Hands each entry to take, reporting progress; take returns false to stop with
// *problem set.
template <typename Take>
bool forEachEntry(EntrySource& source, const ProgressFn& progress, std::string* problem,
                  Take take) {
  constexpr uint32_t kEntriesPerReport = 4096;
  SourceEntry entry;
  for (uint32_t count = 1;; ++count) {
    const ReadResult read = source.next(&entry);
    if (read == ReadResult::kEnd) {
      if (progress) progress(source.bytesRead(), source.totalBytes());
      return true;
    }
    if (read == ReadResult::kFailed) {
      *problem = source.problem();
      return false;
    }
    if (!take(read, entry)) return false;
    if (progress && count % kEntriesPerReport == 0)
      progress(source.bytesRead(), source.totalBytes());
  }
}

}  // namespace

bool addAllEntries(EntrySource& source, IndexCompiler& compiler, const ProgressFn& progress,
                   std::string* problem) {
  return forEachEntry(source, progress, problem, [&](ReadResult read, const SourceEntry& entry) {
    if (read == ReadResult::kBadRecord)
      compiler.addBadSourceRecord(source.problem());
    else
      compiler.add(entry);
    return true;
  });
}

bool addAllEntries(EntrySource& source, IndexCompiler& compiler, ContentCompiler& content,
                   const ProgressFn& progress, std::string* problem) {
  return forEachEntry(source, progress, problem, [&](ReadResult read, SourceEntry& entry) {
    if (read == ReadResult::kBadRecord) {
      compiler.addBadSourceRecord(source.problem());
      return true;
    }
    // Where the entry's records go is settled before the key is taken, so the index
    // record is made before the text is written, and no text is written for a refused key.
    uint32_t expected = 0;
    uint32_t offset = 0;
    const bool prepared = content.prepare(entry, &expected);
    entry.contentRef = expected;
    if (!prepared || (compiler.add(entry) && (!content.write(&offset) || offset != expected))) {
      *problem = "cannot write the content of \"" + entry.headword + "\" to the data file";
      if (!content.problem().empty()) *problem += ": " + content.problem();
      return false;
    }
    return true;
  });
}

bool countAllTexts(EntrySource& source, ContentCompiler& content, const ProgressFn& progress,
                   std::string* problem) {
  return forEachEntry(source, progress, problem, [&](ReadResult read, const SourceEntry& entry) {
    if (read == ReadResult::kEntry) content.countText(entry);
    return true;
  });
}

}  // namespace orvia::compile
