// The tool's own reading of an exchange file, for 'orviadic exchange info' and the
// import's default dictionary: every section and item checked, and the first thing
// wrong named, since the library only answers 0.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "update/owner_word_format.h"

namespace orviadic {

struct ExchangeFileReport {
  orvia::update::OwnerWordFileHeader header;
  std::vector<orvia::update::OwnerWordSectionHeader> sections;  // those that could be read
  std::string problem;                                          // empty for a sound file
};

// Reads the file at path whole. A file that cannot be read is a problem too.
ExchangeFileReport checkExchangeFile(const std::string& path);

}  // namespace orviadic
