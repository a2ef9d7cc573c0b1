// The further data files of a dictionary, which hold the continuations that cannot start
// in the first 16 MiB of the main file: their names, and which of them a data file
// names in its file-index tables.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace orvia::compile {

// A further file's name is "X", the dictionary's low 24 bits in hex, one sequence
// character (a digit or an upper-case letter) and ".DAT": so many can there be.
inline constexpr uint32_t kMaxFurtherFiles = 36;

// The name of a dictionary's further file number sequence, from 0 in the order they
// are made. REQUIRES: sequence < kMaxFurtherFiles.
std::string furtherFileName(uint32_t dictId, uint32_t sequence);

// The names of dictId's further files that the data file at path reaches through its
// file-index tables, followed from file to file in its folder; none when it is missing.
// Entries naming other dictionaries, other names or full paths are not followed.
std::vector<std::string> furtherFilesNamedBy(const std::string& path, uint32_t dictId);

}  // namespace orvia::compile
