// orviadic install: points the registry at every dictionary compiled into a folder.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "cli.h"
#include "compile/index/companion_files.h"
#include "dict/config.h"
#include "dict/dict_id.h"
#include "platform/platform.h"
#include "platform/registry_setup.h"

namespace orviadic {
namespace {

namespace fs = std::filesystem;
using orvia::platform::RegAccess;

// The id of a file named as the compiler names index files ("00010101.IDX"), when it is
// an installed dictionary's; companions are installed with the dictionary they serve.
std::optional<uint32_t> installedIndexId(const std::string& fileName) {
  if (fileName.size() != 12 || fileName.substr(8) != ".IDX") return std::nullopt;
  uint32_t id = 0;
  for (char c : fileName.substr(0, 8)) {
    int digit = c >= '0' && c <= '9' ? c - '0' : c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
    if (digit < 0) return std::nullopt;
    id = id << 4 | uint32_t(digit);
  }
  if (!orvia::dict::isValidDictId(id) ||
      orvia::dict::companionKindOf(id) != orvia::dict::kInstalledKind)
    return std::nullopt;
  return id;
}

// Dictionaries compiled before the compiler made the user's companion files get them
// here: the library never creates them, and notes and added words need them. Returns the
// names of the files created.
std::vector<std::string> createMissingCompanions(const std::string& folder, uint32_t id) {
  using orvia::compile::CompanionFile;
  std::vector<std::string> created;
  for (const CompanionFile& file : orvia::compile::createCompanionFiles(folder, id)) {
    if (file.state == CompanionFile::State::kFailed)
      throw CommandFailure{kExitError,
                           "cannot create " + folder + "/" + file.name + ": " + file.problem};
    if (file.state == CompanionFile::State::kCreated) created.push_back(file.name);
  }
  return created;
}

std::string joined(const std::vector<std::string>& names) {
  std::string out;
  for (const std::string& name : names) out += (out.empty() ? "" : ", ") + name;
  return out;
}

void runInstall(const std::string& folderArgument, const GlobalOptions& options) {
  std::error_code error;
  const fs::path folder = fs::canonical(folderArgument, error);
  if (error || !fs::is_directory(folder))
    throw CommandFailure{kExitError, "no folder " + folderArgument};
  std::vector<uint32_t> ids;
  for (const fs::directory_entry& file : fs::directory_iterator(folder, error))
    if (std::optional<uint32_t> id = installedIndexId(file.path().filename().string()))
      ids.push_back(*id);
  if (error) throw CommandFailure{kExitError, "cannot list " + folder.string()};
  if (ids.empty())
    throw CommandFailure{kExitNotFound, "no compiled dictionary in " + folder.string()};
  // The library joins the folder and a 12-character file name in a buffer of kMaxPath.
  const std::string value = folder.string();
  if (value.size() + 1 + 12 >= orvia::dict::kMaxPath)
    throw CommandFailure{kExitError, "the folder's path is too long for the library"};

  std::sort(ids.begin(), ids.end());
  Json installed = Json::array();
  for (uint32_t id : ids) {
    char digits[9];
    orvia::dict::formatDictIdHex(id, digits);
    const std::string name = std::string(digits) + "Path";
    writePathValue(name, value);
    const std::vector<std::string> created = createMissingCompanions(value, id);
    if (options.json) {
      installed.push_back(Json{{"id", formatDictId(id)}, {"name", name}, {"created", created}});
    } else {
      std::printf("%s  %s = %s\n", bold(formatDictId(id)).c_str(), name.c_str(), value.c_str());
      if (!created.empty()) std::printf("  created %s\n", joined(created).c_str());
    }
  }
  if (options.json) printJson(jsonReply({{"folder", value}, {"installed", installed}}));
}

}  // namespace

void writePathValue(const std::string& name, const std::string& folder) {
  const char* keyPath = orvia::dict::kDefaultRegistryPath;
  const std::string value = folder + '\0';
  if (!orvia::platform::regCreateKey(orvia::platform::kHkeyLocalMachine, keyPath))
    throw CommandFailure{kExitError, std::string("cannot create registry key ") + keyPath};
  orvia::platform::RegKey key =
      orvia::platform::regOpenKey(orvia::platform::kHkeyLocalMachine, keyPath, RegAccess::kWrite);
  bool ok =
      key != nullptr && orvia::platform::regSetValue(key, name.c_str(), orvia::platform::kRegSz,
                                                     value.data(), uint32_t(value.size()));
  orvia::platform::regCloseKey(key);
  if (!ok) throw CommandFailure{kExitError, "cannot write registry value " + name};
}

void addInstallCommand(CLI::App& app, const GlobalOptions& options) {
  auto folder = std::make_shared<std::string>();
  CLI::App* install =
      app.add_subcommand("install", "Register every dictionary compiled into a folder");
  install->add_option("DIR", *folder, "Folder holding the compiled index files")->required();
  install->callback([&options, folder] { runInstall(*folder, options); });
}

}  // namespace orviadic
