// The empty companion files an installed dictionary needs before its user adds notes
// or records: for the record dictionary (kind 0x7F) and the memory dictionary (kind
// 0xFF), an empty index made by the record store and a user-entry file holding only its
// free-list head, 0. A file already there is left alone: it may hold the user's words.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace orvia::compile {

struct CompanionFile {
  enum class State { kCreated, kKept, kFailed };
  std::string name;  // "7F010101.IDX" and so on
  State state;
  std::string problem;  // why it could not be made (kFailed): the system's reason
};

// Makes the four files of dictId's companions in folder where they are missing, in the
// order 7F.IDX, 7F.DAT, FF.IDX, FF.DAT.
// REQUIRES: the record store library is linked in.
std::vector<CompanionFile> createCompanionFiles(const std::string& folder, uint32_t dictId);

}  // namespace orvia::compile
