// A new-word target made from nothing: a dictionary of the family that new-word files
// are merged into, holding one record that names it, so that a merge finds an index and
// a data file to add to. Its key, one character the language's collation puts first,
// sorts before every word.
#pragma once

#include <cstdint>
#include <string>

#include "compile/dictionary_compiler.h"

namespace orvia::compile {

// The key, headword, display word and text of the record that names target.
SourceEntry newWordTargetEntry(uint32_t target);

// Compiles the one-record dictionary target into folder, as compileDictionary lays out
// any dictionary, without companion files. False, with a one-line reason in *problem,
// for an id that is not a new-word target, a target whose index is already in folder,
// or when compiling fails.
// REQUIRES: the record store library is linked in.
bool createNewWordTarget(uint32_t target, const std::string& folder, CompiledDictionary* out,
                         std::string* problem);

}  // namespace orvia::compile
