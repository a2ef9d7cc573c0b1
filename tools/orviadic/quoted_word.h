// A word as a one-line message quotes it.
#pragma once

#include <string>

namespace orviadic {

// The word itself, or for a long one its first characters and its length in bytes, so that
// the message stays one line.
std::string quotedWord(const std::string& word);

}  // namespace orviadic
