#include "serve/catalogue.h"

#include <cerrno>
#include <cstring>
#include <fstream>

#include "conventions.h"
#include "installed_dictionaries.h"

namespace orviadic::serve {
namespace {

// A name a client can send unquoted and that is not one of the protocol's own ("*", "!").
bool usableName(const std::string& name) {
  if (name.empty() || name == "*" || name == "!") return false;
  for (const char c : name)
    if (uint8_t(c) <= ' ' || uint8_t(c) == 0x7F || c == '"' || c == '\'' || c == '\\') return false;
  return true;
}

std::string defaultDescription(const std::string& name, uint32_t dictId) {
  return name + " (" + formatDictId(dictId) + ")";
}

Database makeDatabase(const std::string& name, const std::string& dictText,
                      const std::string& description) {
  if (!usableName(name))
    throw CommandFailure{kExitError, "\"" + name +
                                         "\" cannot name a database: it needs one or more "
                                         "printable characters, no spaces or quotes"};
  const uint32_t dictId = resolveDictId(dictText);
  return {name, dictId, description.empty() ? defaultDescription(name, dictId) : description};
}

std::string trimmed(const std::string& text) {
  const size_t first = text.find_first_not_of(" \t\r");
  if (first == std::string::npos) return std::string();
  return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

}  // namespace

void Catalogue::add(Database database) {
  if (find(database.name) >= 0)
    throw CommandFailure{kExitError, "two databases are named " + database.name};
  databases_.push_back(std::move(database));
}

int Catalogue::find(const std::string& name) const {
  for (size_t i = 0; i < databases_.size(); ++i)
    if (databases_[i].name == name) return int(i);
  // Every database also answers to its dictionary's eight digits, as SHOW INFO gives them.
  for (size_t i = 0; i < databases_.size(); ++i)
    if (formatDictId(databases_[i].dictId).substr(2) == name) return int(i);
  return -1;
}

Database databaseFromOption(const std::string& option) {
  const size_t equals = option.find('=');
  if (equals == std::string::npos)
    throw CommandFailure{kExitError, "--db takes NAME=DICTID[:DESCRIPTION], not " + option};
  const size_t colon = option.find(':', equals);
  const std::string dictText = option.substr(equals + 1, colon - equals - 1);
  return makeDatabase(option.substr(0, equals), dictText,
                      colon == std::string::npos ? std::string() : option.substr(colon + 1));
}

std::vector<Database> databasesFromFile(const std::string& path) {
  std::ifstream file(path);
  if (!file) throw CommandFailure{kExitError, "cannot read " + path + ": " + std::strerror(errno)};
  std::vector<Database> databases;
  std::string line;
  for (int number = 1; std::getline(file, line); ++number) {
    line = trimmed(line);
    if (line.empty() || line[0] == '#') continue;
    const size_t nameEnd = line.find_first_of(" \t");
    const size_t idStart = line.find_first_not_of(" \t", nameEnd);
    if (idStart == std::string::npos)
      throw CommandFailure{kExitError, path + ":" + std::to_string(number) +
                                           ": a database needs a name and a dictionary"};
    const size_t idEnd = line.find_first_of(" \t", idStart);
    const std::string description =
        idEnd == std::string::npos ? std::string() : trimmed(line.substr(idEnd));
    try {
      databases.push_back(makeDatabase(line.substr(0, nameEnd),
                                       line.substr(idStart, idEnd - idStart), description));
    } catch (const CommandFailure& failure) {
      throw CommandFailure{failure.status,
                           path + ":" + std::to_string(number) + ": " + failure.reason};
    }
  }
  return databases;
}

std::vector<Database> installedDatabases() {
  Catalogue named;
  for (const InstalledDictionary& dict : installedDictionaries()) {
    // Two dictionaries of one name are told apart by their digits.
    const bool byName = dict.name && usableName(*dict.name) && named.find(*dict.name) < 0;
    const std::string name = byName ? *dict.name : formatDictId(dict.id).substr(2);
    named.add({name, dict.id, defaultDescription(name, dict.id)});
  }
  return named.databases();
}

}  // namespace orviadic::serve
