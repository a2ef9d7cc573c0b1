// A whole compile: from a source to the dictionary's index file, its data file and the
// empty files of its record and memory companions, all in one folder.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "compile/content/data_file_writer.h"
#include "compile/index/companion_files.h"
#include "compile/index/index_compiler.h"
#include "compile/source/entry_source.h"

namespace orvia::compile {

struct DictionaryCompileOptions {
  uint32_t dictId = 0;
  std::string folder;
  EntryEncoding encoding = EntryEncoding::kSmallest;
  DataFileOptions dataFile;  // its dictId is set from dictId
  // The empty files of the record and memory companions, which only an installed
  // dictionary has use for.
  bool withCompanions = true;
  // A source of which the compiler skips more than half the entries is most likely not
  // what its name says (a damaged body, another format): with this set, it fails.
  bool refuseMostSkipped = false;
};

// Opens the source from its start; null, with *problem set, when it cannot. Called once
// per pass.
using SourceOpener = std::function<std::unique_ptr<EntrySource>(std::string* problem)>;
// Called now and then with the pass under way ("counting" or "compiling").
using PassProgressFn = std::function<void(const char* pass, uint64_t done, uint64_t total)>;

struct CompiledDictionary {
  CompiledIndex index;
  uint64_t entries = 0;  // entries the source gave, skipped ones included
  std::string indexPath, dataPath;
  std::string checksumPath;                   // the content's checksums (content_checksums.h)
  std::vector<std::string> furtherDataFiles;  // names, in dataPath's folder
  DataFileTally data;
  uint64_t textBytes = 0;       // the entries' texts, before coding and sharing
  uint64_t sharingEntries = 0;  // entries on records of a text written for another
  bool countedFirst = false;    // a first pass over the source counted bytes for Huffman trees
  std::vector<CompanionFile> companions;
};

// Writes the files beside their names and, once all are complete, puts them in place:
// the data files first and the index last, so that a reader opening the new index finds
// every file it names. Then further data files that the earlier compile's data file
// named and this compile no longer writes are removed. A reader that opened the old
// index keeps it, and reads the new data files with it from the first rename on, until
// it opens the dictionary again. False, with a one-line reason in *problem, on failure;
// a failure before the first rename leaves the installed files as they were.
// REQUIRES: the record store library is linked in.
bool compileDictionary(const SourceOpener& open, const DictionaryCompileOptions& options,
                       const PassProgressFn& progress, CompiledDictionary* out,
                       std::string* problem);

}  // namespace orvia::compile
