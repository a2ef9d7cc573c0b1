// The compiler's read loops: every entry of a source into an index compiler and, when
// one is given, its content into the data file.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "compile/content/content_compiler.h"
#include "compile/index/index_compiler.h"
#include "compile/source/entry_source.h"

namespace orvia::compile {

// Called now and then with the bytes of the source read so far and its size.
using ProgressFn = std::function<void(uint64_t bytesRead, uint64_t totalBytes)>;

// Adds every entry of source to compiler; an entry the source cannot read is counted as
// skipped. False, with a one-line reason in *problem, when the source fails part way.
bool addAllEntries(EntrySource& source, IndexCompiler& compiler, const ProgressFn& progress,
                   std::string* problem);

// The same, and each entry the compiler keeps has its text written into content's data
// file, which its record points to. Also false when the data file cannot be written.
// REQUIRES: content's data file is created; source was opened with its texts.
bool addAllEntries(EntrySource& source, IndexCompiler& compiler, ContentCompiler& content,
                   const ProgressFn& progress, std::string* problem);

// The first pass for Huffman trees: every text of source counted into content.
// REQUIRES: source was opened with its texts.
bool countAllTexts(EntrySource& source, ContentCompiler& content, const ProgressFn& progress,
                   std::string* problem);

}  // namespace orvia::compile
