// The name a user gives a dictionary, kept beside its index in a file of the tool's own
// ("00010101.NAM"); the library never reads it. The file is UTF-8 text of two lines, each
// ended by LF:
//   orviadic dictionary name 1
//   <the name: 1 to 200 bytes, no control character>
// Anything else is a damaged file, and the dictionary goes without a name.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace orviadic {

inline constexpr size_t kMaxDictionaryName = 200;

std::string nameFilePath(const std::string& folder, uint32_t dictId);
// True when name can be kept: 1 to kMaxDictionaryName bytes without control characters.
bool isUsableName(const std::string& name);
// The name kept for the dictionary; nothing when the file is missing or damaged.
std::optional<std::string> readDictionaryName(const std::string& folder, uint32_t dictId);
// Writes the file beside its name and renames it into place; false when it cannot.
// REQUIRES: isUsableName(name).
bool writeDictionaryName(const std::string& folder, uint32_t dictId, const std::string& name);

}  // namespace orviadic
