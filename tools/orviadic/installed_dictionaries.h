// The dictionaries the registry points at, with the names kept beside their indexes, and
// the one way every command turns a dictionary named on its command line into an id.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace orviadic {

struct InstalledDictionary {
  uint32_t id = 0;
  std::string folder;  // as the registry value gives it
  std::optional<std::string> name;
};

// Every installed dictionary (kind 0x00) with a {id}"Path" value, in id order.
std::vector<InstalledDictionary> installedDictionaries();

// The id of the one dictionary among installed whose name is text, or else starts with
// it, both without regard to ASCII case; throws CommandFailure when none or several are.
uint32_t dictIdNamed(const std::string& text, const std::vector<InstalledDictionary>& installed);

// The first id with languages keys and content (bytes 0 and 1) whose dictionary number
// (byte 2) neither an installed dictionary nor an index file in folder uses; nothing when
// all 255 are taken.
std::optional<uint32_t> freeDictId(uint8_t keys, uint8_t content, const std::string& folder);

}  // namespace orviadic
