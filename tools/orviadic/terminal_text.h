// Words between the terminal (UTF-8) and a dictionary (its own code page).
#pragma once

#include <cstdint>
#include <string>

namespace orviadic {

// utf8 in the code page of byte 0 of dictId (as it is for a language without one).
// Throws CommandFailure, naming what ("word", "text"), when the code page cannot write it.
std::string toCodePage(uint32_t dictId, const std::string& utf8, const char* what);
// The word as the dictionary's keys spell it: in its code page and, in the single-byte
// languages, folded to ASCII as the compiler folds headwords into keys ("café" looks up
// "cafe"). Throws CommandFailure when the code page cannot write it.
std::string toDictionaryWord(uint32_t dictId, const std::string& utf8);
// A dictionary text in UTF-8; bytes the code page does not define show as "?".
std::string toTerminal(uint32_t dictId, const std::string& text);
// An entry's content as a person reads it (text/entry_text.h), the headword line in bold
// when emphasis is on.
std::string readableEntry(uint32_t dictId, const std::string& content, bool emphasis);

}  // namespace orviadic
