// The databases a server offers: the name clients give, the dictionary behind it and the
// description SHOW DB lists. They come from --db options, else a configuration file, else
// every installed dictionary.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace orviadic::serve {

struct Database {
  std::string name;
  uint32_t dictId = 0;
  std::string description;
};

class Catalogue {
 public:
  void add(Database database);
  const std::vector<Database>& databases() const { return databases_; }
  // The index of the database named name (exact, as clients send it) or, failing that,
  // whose dictionary id has name as its eight digits; -1 for none.
  int find(const std::string& name) const;

 private:
  std::vector<Database> databases_;
};

// "NAME=DICTID[:DESCRIPTION]", DICTID as every command reads a dictionary (an id, or an
// installed dictionary's name). Throws CommandFailure for a malformed option or an
// unknown dictionary.
Database databaseFromOption(const std::string& option);

// A configuration file: one database a line, "NAME DICTID DESCRIPTION", the description
// optional and the rest of the line; blank lines and lines starting with "#" are skipped.
// Throws CommandFailure naming the file and line of the first line it cannot use.
std::vector<Database> databasesFromFile(const std::string& path);

// Every installed dictionary, named by its name where that is a usable database name,
// else by its eight hexadecimal digits.
std::vector<Database> installedDatabases();

}  // namespace orviadic::serve
