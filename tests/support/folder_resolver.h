// A stand-in for the configuration's path resolution: the files of one dictionary lie
// in one folder.
#pragma once

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <string>
#include <utility>

namespace orvia::testing {

// The folder and the dictionary id resolveInFolder answers for.
inline std::pair<std::string, uint32_t> gResolvedFolder;

// From now on resolveInFolder finds dictId's files in folder.
inline void resolveIn(const std::string& folder, uint32_t dictId) {
  gResolvedFolder = {folder, dictId};
}

// The resolver's signature: writes folder/name into out (size bytes); 0 for another id
// or a path that does not fit.
inline int resolveInFolder(uint32_t dictId, char* out, uint32_t size, const char* name) {
  const auto& [folder, id] = gResolvedFolder;
  const std::string path = (std::filesystem::path(folder) / name).string();
  if (dictId != id || path.size() >= size) return 0;
  std::memcpy(out, path.c_str(), path.size() + 1);
  return 1;
}

}  // namespace orvia::testing
