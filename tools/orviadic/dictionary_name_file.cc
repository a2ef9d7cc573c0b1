#include "dictionary_name_file.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "dict/dict_id.h"

namespace orviadic {
namespace {

constexpr char kFirstLine[] = "orviadic dictionary name 1\n";

}  // namespace

std::string nameFilePath(const std::string& folder, uint32_t dictId) {
  char name[16];
  orvia::dict::buildDictFileName(dictId, name, ".NAM");
  return (std::filesystem::path(folder) / name).string();
}

bool isUsableName(const std::string& name) {
  if (name.empty() || name.size() > kMaxDictionaryName) return false;
  for (unsigned char c : name)
    if (c < 0x20 || c == 0x7F) return false;
  return true;
}

std::optional<std::string> readDictionaryName(const std::string& folder, uint32_t dictId) {
  std::ifstream file(nameFilePath(folder, dictId), std::ios::binary);
  // Room for the longest valid file and one byte more, which marks it too long.
  std::string text(sizeof kFirstLine + kMaxDictionaryName + 1, '\0');
  file.read(text.data(), std::streamsize(text.size()));
  text.resize(size_t(file.gcount()));
  const std::string header(kFirstLine);
  if (text.compare(0, header.size(), header) != 0 || text.back() != '\n') return std::nullopt;
  std::string name = text.substr(header.size(), text.size() - header.size() - 1);
  if (!isUsableName(name)) return std::nullopt;
  return name;
}

bool writeDictionaryName(const std::string& folder, uint32_t dictId, const std::string& name) {
  const std::string path = nameFilePath(folder, dictId);
  const std::string part = path + ".part";
  {
    std::ofstream file(part, std::ios::binary | std::ios::trunc);
    file << kFirstLine << name << '\n';
    if (!file.flush()) return false;
  }
  std::error_code error;
  std::filesystem::rename(part, path, error);
  if (!error) return true;
  std::filesystem::remove(part, error);
  return false;
}

}  // namespace orviadic
