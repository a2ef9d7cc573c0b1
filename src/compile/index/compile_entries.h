// The compiler's read loop: every entry of a source into an index compiler.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "compile/index/entry_source.h"
#include "compile/index/index_compiler.h"

namespace orvia::compile {

// Called now and then with the bytes of the source read so far and its size.
using ProgressFn = std::function<void(uint64_t bytesRead, uint64_t totalBytes)>;

// Adds every entry of source to compiler; an entry the source cannot read is counted as
// skipped. False, with a one-line reason in *problem, when the source fails part way.
bool addAllEntries(EntrySource& source, IndexCompiler& compiler, const ProgressFn& progress,
                   std::string* problem);

}  // namespace orvia::compile
