// What lookup says of a word the dictionary lacks: the words near it, instead of the
// entry of a neighbour that happens to share its first letters.
#pragma once

#include <string>

#include "conventions.h"
#include "open_dictionary.h"

namespace orviadic {

// Prints the words close to typed (dictionaryWord is typed as the dictionary spells it)
// and ends the command with exit 1.
[[noreturn]] void reportMissingWord(const OpenDictionary& dict, const std::string& typed,
                                    const std::string& dictionaryWord,
                                    const GlobalOptions& options);

}  // namespace orviadic
