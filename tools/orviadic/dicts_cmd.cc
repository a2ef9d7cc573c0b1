// orviadic dicts and uninstall: the installed dictionaries, listed with their names, and
// taken out of the registry again.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>

#include "cli.h"
#include "compile/content/further_files.h"
#include "compile/index/index_writer.h"
#include "dict/config.h"
#include "dict/dict_id.h"
#include "id_languages.h"
#include "installed_dictionaries.h"
#include "orviadic.h"
#include "platform/registry_setup.h"

namespace orviadic {
namespace {

namespace fs = std::filesystem;

constexpr char kNoName[] = "(no name)";

// The entries of a dictionary the library can open.
std::optional<uint32_t> entryCount(uint32_t id) {
  HDICT* dict = dicCreateHDICT(id);
  if (dict == nullptr) return std::nullopt;
  const uint32_t count = dicGetWordCount(dict);
  dicFreeHDICT(dict);
  return count;
}

void listDictionaries(const GlobalOptions& options) {
  const std::vector<InstalledDictionary> installed = installedDictionaries();
  nlohmann::json list = nlohmann::json::array();
  for (const InstalledDictionary& dict : installed) {
    const std::string keys = languageName(uint8_t(dict.id)),
                      content = languageName(uint8_t(dict.id >> 8));
    const std::optional<uint32_t> entries = entryCount(dict.id);
    if (options.json) {
      list.push_back({{"id", formatDictId(dict.id)},
                      {"name", dict.name ? nlohmann::json(*dict.name) : nlohmann::json()},
                      {"keys", keys},
                      {"content", content},
                      {"entries", entries ? nlohmann::json(*entries) : nlohmann::json()},
                      {"folder", dict.folder}});
      continue;
    }
    std::printf("%s  %-32s %-5s %-5s %8s  %s\n", bold(formatDictId(dict.id)).c_str(),
                dict.name ? dict.name->c_str() : kNoName, keys.c_str(), content.c_str(),
                entries ? std::to_string(*entries).c_str() : "-", dict.folder.c_str());
  }
  if (options.json)
    std::printf("%s\n", nlohmann::json{{"schema", 1}, {"dictionaries", list}}.dump().c_str());
  else if (installed.empty())
    throw CommandFailure{kExitNotFound, "no dictionary is installed"};
}

// The registry values and file names of a dictionary and its companions begin with one
// of these.
std::vector<std::string> familyDigits(uint32_t id) {
  std::vector<std::string> digits;
  for (uint32_t member : {id, orvia::dict::recordDictId(id), orvia::dict::memDictId(id),
                          orvia::dict::newWordDictId(id)}) {
    char text[9];
    orvia::dict::formatDictIdHex(member, text);
    digits.emplace_back(text);
  }
  return digits;
}

// Removes the family's files from folder: the index, data files, companions and the
// tool's side files all begin with their eight digits. Gives the names removed.
std::vector<std::string> deleteFiles(const std::string& folder, uint32_t id) {
  const std::vector<std::string> family = familyDigits(id);
  std::vector<fs::path> doomed;
  // Further data files have names of their own, which the main data file lists.
  for (const std::string& name :
       orvia::compile::furtherFilesNamedBy(orvia::compile::dictFilePath(folder, id, ".DAT"), id))
    doomed.push_back(fs::path(folder) / name);
  std::error_code error;
  for (const fs::directory_entry& file : fs::directory_iterator(folder, error)) {
    const std::string name = file.path().filename().string();
    const bool ours = std::any_of(family.begin(), family.end(), [&name](const std::string& digits) {
      return name.compare(0, digits.size(), digits) == 0;
    });
    if (ours && file.is_regular_file(error)) doomed.push_back(file.path());
  }
  std::vector<std::string> removed;
  for (const fs::path& path : doomed) {
    if (!fs::remove(path, error) && fs::exists(path, error))
      throw CommandFailure{kExitError, "cannot remove " + path.string()};
    removed.push_back(path.filename().string());
  }
  return removed;
}

void uninstall(const std::string& dictText, bool deleteFilesToo, const GlobalOptions& options) {
  const std::vector<InstalledDictionary> installed = installedDictionaries();
  const std::optional<uint32_t> typed = dictIdFromText(dictText);
  const uint32_t id = typed ? *typed : dictIdNamed(dictText, installed);
  std::string folder;
  for (const InstalledDictionary& dict : installed)
    if (dict.id == id) folder = dict.folder;
  if (folder.empty()) throw CommandFailure{kExitNotFound, formatDictId(id) + " is not installed"};

  nlohmann::json values = nlohmann::json::array();
  for (const std::string& digits : familyDigits(id)) {
    for (const char* suffix : {"Path", "ServerDataPath", "version", "time"}) {
      const std::string name = digits + suffix;
      if (orvia::platform::regDeleteValue(orvia::platform::kHkeyLocalMachine,
                                          orvia::dict::kDefaultRegistryPath, name.c_str()))
        values.push_back(name);
    }
  }
  const std::vector<std::string> files =
      deleteFilesToo ? deleteFiles(folder, id) : std::vector<std::string>();
  if (options.json) {
    std::printf("%s\n", nlohmann::json{{"schema", 1},
                                       {"id", formatDictId(id)},
                                       {"removedValues", values},
                                       {"deletedFiles", files}}
                            .dump()
                            .c_str());
    return;
  }
  for (const auto& value : values) std::printf("removed %s\n", value.get<std::string>().c_str());
  for (const std::string& file : files)
    std::printf("deleted %s/%s\n", folder.c_str(), file.c_str());
}

}  // namespace

void addDictsCommands(CLI::App& app, const GlobalOptions& options) {
  app.add_subcommand("dicts", "List the installed dictionaries with their names and languages")
      ->callback([&options] { listDictionaries(options); });

  struct Arguments {
    std::string dict;
    bool deleteFiles = false;
  };
  auto args = std::make_shared<Arguments>();
  CLI::App* uninstallCommand =
      app.add_subcommand("uninstall", "Remove a dictionary's registry values");
  uninstallCommand->add_option("DICT", args->dict, "Dictionary id, name or name prefix")
      ->required();
  uninstallCommand->add_flag("--delete-files", args->deleteFiles,
                             "Also delete the files of the dictionary and its companions");
  uninstallCommand->callback(
      [&options, args] { uninstall(args->dict, args->deleteFiles, options); });
}

}  // namespace orviadic
