#include "installed_dictionaries.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

#include "conventions.h"
#include "dict/config.h"
#include "dict/dict_id.h"
#include "dictionary_name_file.h"
#include "platform/platform.h"

namespace orviadic {
namespace {

// The id of a value named as a dictionary's folder ("00010101Path"), for installed
// dictionaries only: companions share their dictionary's folder.
std::optional<uint32_t> pathValueId(const std::string& name) {
  if (name.size() != 12) return std::nullopt;
  std::string suffix = name.substr(8);
  std::transform(suffix.begin(), suffix.end(), suffix.begin(),
                 [](unsigned char c) { return char(std::tolower(c)); });
  if (suffix != "path") return std::nullopt;
  const std::optional<uint32_t> id = dictIdFromText(name.substr(0, 8));
  if (!id || !orvia::dict::isValidDictId(*id) ||
      orvia::dict::companionKindOf(*id) != orvia::dict::kInstalledKind)
    return std::nullopt;
  return id;
}

bool startsWithNoCase(const std::string& text, const std::string& prefix) {
  return text.size() >= prefix.size() &&
         std::equal(prefix.begin(), prefix.end(), text.begin(), [](char a, char b) {
           return std::tolower(static_cast<unsigned char>(a)) ==
                  std::tolower(static_cast<unsigned char>(b));
         });
}

}  // namespace

std::vector<InstalledDictionary> installedDictionaries() {
  std::vector<InstalledDictionary> found;
  orvia::platform::RegKey key = orvia::platform::regOpenKey(orvia::platform::kHkeyLocalMachine,
                                                            orvia::dict::kDefaultRegistryPath,
                                                            orvia::platform::RegAccess::kRead);
  if (key == nullptr) return found;
  char name[256];
  // Room for any value of the key, so that a large one does not end the listing.
  std::string data(64 * 1024, '\0');
  for (uint32_t i = 0;; ++i) {
    uint32_t type = 0, size = uint32_t(data.size());
    if (!orvia::platform::regEnumValue(key, i, name, sizeof name, &type, data.data(), &size)) break;
    if (std::optional<uint32_t> id = pathValueId(name)) {
      const std::string folder = data.substr(0, size).c_str();
      found.push_back({*id, folder, readDictionaryName(folder, *id)});
    }
  }
  orvia::platform::regCloseKey(key);
  std::sort(found.begin(), found.end(),
            [](const InstalledDictionary& a, const InstalledDictionary& b) { return a.id < b.id; });
  return found;
}

uint32_t dictIdNamed(const std::string& text, const std::vector<InstalledDictionary>& installed) {
  std::vector<const InstalledDictionary*> exact, prefixed;
  for (const InstalledDictionary& dict : installed) {
    if (!dict.name || !startsWithNoCase(*dict.name, text)) continue;
    (dict.name->size() == text.size() ? exact : prefixed).push_back(&dict);
  }
  const std::vector<const InstalledDictionary*>& matches = exact.empty() ? prefixed : exact;
  if (matches.size() == 1) return matches.front()->id;
  if (matches.empty())
    throw CommandFailure{kExitError,
                         "not a dictionary id, nor the name of an installed dictionary: " + text};
  std::string which;
  for (const InstalledDictionary* dict : matches)
    which += (which.empty() ? "" : ", ") + formatDictId(dict->id) + " (" + *dict->name + ")";
  throw CommandFailure{kExitError, "\"" + text + "\" names several dictionaries: " + which};
}

std::optional<uint32_t> freeDictId(uint8_t keys, uint8_t content, const std::string& folder) {
  const std::vector<InstalledDictionary> installed = installedDictionaries();
  for (uint32_t number = 1; number <= 0xFF; ++number) {
    const uint32_t id = number << 16 | uint32_t(content) << 8 | keys;
    char indexName[16];
    orvia::dict::buildDictFileName(id, indexName, ".IDX");
    std::error_code error;
    const bool taken =
        std::any_of(installed.begin(), installed.end(),
                    [id](const InstalledDictionary& dict) { return dict.id == id; }) ||
        std::filesystem::exists(std::filesystem::path(folder) / indexName, error);
    if (!taken) return id;
  }
  return std::nullopt;
}

uint32_t resolveDictId(const std::string& text) {
  if (std::optional<uint32_t> id = dictIdFromText(text)) return *id;
  return dictIdNamed(text, installedDictionaries());
}

}  // namespace orviadic
