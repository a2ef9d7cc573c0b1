// orviadic config: shows and sets the registry values that say where dictionaries lie.
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "cli.h"
#include "dict/config.h"
#include "dict/dict_id.h"
#include "platform/platform.h"
#include "platform/registry_setup.h"

namespace orviadic {
namespace {

using orvia::platform::RegAccess;
using orvia::platform::RegRoot;

const RegRoot kRoot = orvia::platform::kHkeyLocalMachine;

std::string keyName() {
  return std::string("HKEY_LOCAL_MACHINE\\") + orvia::dict::kDefaultRegistryPath;
}

const char* typeName(uint32_t type) {
  switch (type) {
    case orvia::platform::kRegSz:
      return "sz";
    case orvia::platform::kRegDword:
      return "dword";
    case orvia::platform::kRegBinary:
      return "binary";
    default:
      return "other";
  }
}

std::string describe(uint32_t type, const std::string& data) {
  if (type == orvia::platform::kRegSz) return data.substr(0, data.find('\0'));
  if (type == orvia::platform::kRegDword && data.size() == 4) {
    uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = v * 256 + uint8_t(data[size_t(i)]);
    return std::to_string(v);
  }
  std::string hex;
  char byte[4];
  for (unsigned char c : data) {
    std::snprintf(byte, sizeof byte, "%02x", c);
    hex += byte;
  }
  return hex;
}

void showConfig(const GlobalOptions& options) {
  orvia::platform::RegKey key =
      orvia::platform::regOpenKey(kRoot, orvia::dict::kDefaultRegistryPath, RegAccess::kRead);
  if (key == nullptr) throw CommandFailure{kExitNotFound, "no registry key " + keyName()};
  Json values = Json::array();
  if (!options.json) std::printf("%s\n", bold(keyName()).c_str());
  char name[256];
  std::string data(64 * 1024, '\0');
  for (uint32_t i = 0;; ++i) {
    uint32_t type = 0, size = uint32_t(data.size());
    if (!orvia::platform::regEnumValue(key, i, name, sizeof name, &type, data.data(), &size)) break;
    std::string shown = describe(type, data.substr(0, size));
    if (options.json) {
      values.push_back(Json{{"name", name}, {"type", typeName(type)}, {"value", shown}});
    } else {
      std::printf("  %-24s %-6s %s\n", name, typeName(type), shown.c_str());
    }
  }
  orvia::platform::regCloseKey(key);
  if (options.json) {
    Json reply = jsonReply();
    reply["key"] = keyName();
    reply["values"] = values;
    printJson(reply);
  }
}

// The tool, unlike the library, creates the key when it is missing.
void setValue(const std::string& name, uint32_t type, const std::string& bytes) {
  if (!orvia::platform::regCreateKey(kRoot, orvia::dict::kDefaultRegistryPath))
    throw CommandFailure{kExitError, "cannot create registry key " + keyName()};
  orvia::platform::RegKey key =
      orvia::platform::regOpenKey(kRoot, orvia::dict::kDefaultRegistryPath, RegAccess::kWrite);
  bool ok = key != nullptr && orvia::platform::regSetValue(key, name.c_str(), type, bytes.data(),
                                                           uint32_t(bytes.size()));
  orvia::platform::regCloseKey(key);
  if (!ok) throw CommandFailure{kExitError, "cannot write registry value " + name};
}

// The library reads the folder from any process and working folder, so a relative one
// leads nowhere, and a missing one is most likely mistyped.
void refuseUnusableFolder(const std::string& folder, bool force) {
  if (force) return;
  const std::filesystem::path path(folder);
  std::error_code error;
  if (!path.is_absolute())
    throw CommandFailure{kExitError,
                         "the folder " + folder + " is relative; give its full path (or --force)"};
  if (!std::filesystem::is_directory(path, error))
    throw CommandFailure{kExitError, "no folder " + folder + " (--force sets it all the same)"};
}

}  // namespace

void addConfigCommands(CLI::App& app, const GlobalOptions& options) {
  CLI::App* config = app.add_subcommand("config", "Show or change the registry configuration");
  config->require_subcommand(1);

  config->add_subcommand("show", "Print the configuration key and its values")
      ->callback([&options] { showConfig(options); });

  // The parsed arguments live as long as the callbacks that read them.
  struct Arguments {
    std::string dictId, folder;
    uint32_t type = 0;
    bool force = false;
  };
  auto args = std::make_shared<Arguments>();

  auto* setPath = config->add_subcommand("set-path", "Set the folder of one dictionary's files");
  setPath->add_option("DICTID", args->dictId, kDictHelp)->required();
  setPath->add_option("DIR", args->folder, "Folder holding the dictionary's files")->required();
  setPath->add_flag("--force", args->force, "Set the folder even when it is relative or missing");
  setPath->callback([&options, args] {
    refuseUnusableFolder(args->folder, args->force);
    char digits[9];
    orvia::dict::formatDictIdHex(resolveDictId(args->dictId), digits);
    std::string name = std::string(digits) + "Path";
    setValue(name, orvia::platform::kRegSz, args->folder + '\0');
    if (options.json) printJson(jsonReply({{"name", name}, {"value", args->folder}}));
  });

  auto* setType = config->add_subcommand(
      "set-type", "Set \"Type\": non-zero reads content from the shared data folder");
  setType->add_option("N", args->type, "The value of \"Type\"")->required();
  setType->callback([&options, args] {
    uint32_t type = args->type;
    std::string bytes(4, '\0');
    for (int i = 0; i < 4; ++i) bytes[size_t(i)] = char((type >> (8 * i)) & 0xFF);
    setValue("Type", orvia::platform::kRegDword, bytes);
    if (options.json) printJson(jsonReply({{"Type", type}}));
  });
}

}  // namespace orviadic
