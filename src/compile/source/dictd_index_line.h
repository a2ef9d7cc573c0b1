// A line of a dictd ".index" file: headword, offset and length of the entry's text in the
// ".dict" body, separated by tabs. Offset and length are numbers in the base-64 digits
// "A-Z", "a-z", "0-9", "+", "/", most significant first. Further columns are ignored.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace orvia::compile {

struct DictdIndexLine {
  std::string headword;
  uint32_t offset = 0;
  uint32_t length = 0;
};

// The value of a base-64 number; nothing when it is empty, holds another byte, or does
// not fit in 32 bits.
std::optional<uint32_t> decodeDictdNumber(std::string_view digits);

// Nothing when the line has fewer than three columns or a malformed number.
std::optional<DictdIndexLine> parseDictdIndexLine(std::string_view line);

// The database's own entries ("00-database-info" and its siblings), not words.
bool isDictdDatabaseEntry(std::string_view headword);

}  // namespace orvia::compile
