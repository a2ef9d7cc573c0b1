// A fresh folder under the system's temporary folder, removed with everything in it.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <random>
#include <string>

namespace orvia::testing {

// Creates a folder named prefix-<random hex> under the system's temporary folder; mkdtemp
// is POSIX only. Empty when none could be made.
inline std::string makeTempDir(const std::string& prefix) {
  std::random_device entropy;
  for (int attempt = 0; attempt < 100; ++attempt) {
    char suffix[17];
    std::snprintf(suffix, sizeof suffix, "%08x%08x", unsigned(entropy()), unsigned(entropy()));
    std::filesystem::path path = std::filesystem::temp_directory_path() / (prefix + "-" + suffix);
    std::error_code error;
    if (std::filesystem::create_directory(path, error)) return path.string();
  }
  return std::string();
}

inline std::string readFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

inline bool writeFileBytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
  return bool(out.flush());
}

class TempDir {
 public:
  TempDir() : path_(makeTempDir("orviadic-test")) {}
  ~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::string& path() const { return path_; }
  // The path the library builds for name in this folder, with the system's separator.
  std::string file(const std::string& name) const {
    return (std::filesystem::path(path_) / name).string();
  }
  // Every file of the folder (not of its subfolders), by name, with its bytes.
  std::map<std::string, std::string> files() const {
    std::map<std::string, std::string> out;
    for (const auto& entry : std::filesystem::directory_iterator(path_))
      out[entry.path().filename().string()] = readFileBytes(entry.path().string());
    return out;
  }

 private:
  std::string path_;
};

}  // namespace orvia::testing
