// Writes a compiled index to its ".IDX" file through the record store's bulk load.
#pragma once

#include <cstdint>
#include <string>

#include "compile/index/index_compiler.h"

namespace orvia::compile {

// Writes index as the index file of dictId in folder, replacing a file of that name only
// once the new one is complete. False, with a one-line reason in *problem, on failure.
// REQUIRES: the record store library is linked in.
bool writeIndexFile(const std::string& folder, uint32_t dictId, const CompiledIndex& index,
                    std::string* problem);

// The path of dictId's file with extension (".IDX", ".DAT") in folder.
std::string dictFilePath(const std::string& folder, uint32_t dictId, const char* extension);
// The path of dictId's index file in folder.
std::string indexFilePath(const std::string& folder, uint32_t dictId);

}  // namespace orvia::compile
