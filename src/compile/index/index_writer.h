// Writes a compiled index to its ".IDX" file through the record store's bulk load.
#pragma once

#include <cstdint>
#include <string>

#include "compile/index/index_compiler.h"

namespace orvia::compile {

// Writes index beside dictId's index file in folder, under its name with ".part" added;
// installIndexFile puts it in place. False, with a one-line reason in *problem, on
// failure, and then nothing is left behind.
// REQUIRES: the record store library is linked in.
bool writeIndexFile(const std::string& folder, uint32_t dictId, const CompiledIndex& index,
                    std::string* problem);
// Writes index to a new store file at path, for dictId's language; false, with a one-line
// reason in *problem, when the index is empty or the store refuses (nothing is left then).
bool bulkLoadIndex(const std::string& path, uint32_t dictId, const CompiledIndex& index,
                   std::string* problem);
// Replaces dictId's index file in folder by the one writeIndexFile wrote, in one rename;
// false, with a one-line reason in *problem, when that fails.
bool installIndexFile(const std::string& folder, uint32_t dictId, std::string* problem);
// Removes what writeIndexFile wrote, for a compile that stops before installing it.
void discardIndexFile(const std::string& folder, uint32_t dictId);

// The path of dictId's file with extension (".IDX", ".DAT") in folder.
std::string dictFilePath(const std::string& folder, uint32_t dictId, const char* extension);
// The path of dictId's index file in folder.
std::string indexFilePath(const std::string& folder, uint32_t dictId);

}  // namespace orvia::compile
