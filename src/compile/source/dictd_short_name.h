// The name a dictd database gives itself: the text of its "00-database-short" entry
// ("00databaseshort" in older files), which is the name alone or the entry's headword
// on a line of its own and the name indented on the next.
#pragma once

#include <optional>
#include <string>

namespace orvia::compile {

// The first line of the entry's text that is not its headword, without the blanks around
// it; nothing when the source has no such entry or its text cannot be read.
// basePath is the path without ".index".
std::optional<std::string> readDictdShortName(const std::string& basePath);

}  // namespace orvia::compile
