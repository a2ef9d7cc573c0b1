// A fresh folder under the system's temporary folder, removed with everything in it.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
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

 private:
  std::string path_;
};

inline std::string readFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

inline bool writeFileBytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
  return bool(out.flush());
}

}  // namespace orvia::testing
