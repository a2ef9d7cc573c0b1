#include "compile/index/compile_entries.h"

namespace orvia::compile {

bool addAllEntries(EntrySource& source, IndexCompiler& compiler, const ProgressFn& progress,
                   std::string* problem) {
  constexpr uint32_t kEntriesPerReport = 4096;
  SourceEntry entry;
  for (uint32_t count = 1;; ++count) {
    switch (source.next(&entry)) {
      case ReadResult::kEntry:
        compiler.add(entry);
        break;
      case ReadResult::kBadRecord:
        compiler.addBadSourceRecord(source.problem());
        break;
      case ReadResult::kEnd:
        if (progress) progress(source.bytesRead(), source.totalBytes());
        return true;
      case ReadResult::kFailed:
        *problem = source.problem();
        return false;
    }
    if (progress && count % kEntriesPerReport == 0)
      progress(source.bytesRead(), source.totalBytes());
  }
}

}  // namespace orvia::compile
