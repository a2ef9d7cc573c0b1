// The word a dictionary's keys are made from: the compiler makes every headword's key
// from it, and a lookup must make the same word of what the user typed, or "café" and
// "Café" land elsewhere than the entries compiled from them.
#pragma once

#include <cstdint>
#include <string>

namespace orvia::text {

// Whether the language makes its keys from a word's ASCII spelling: the single-byte ones.
bool keysFoldToAscii(uint32_t languageCode);

// Leading and trailing white space removed and inner runs reduced to one space, white
// space being the space and the bytes 0x09 to 0x0D, as in single-byte keys.
std::string collapseWhiteSpace(const std::string& text);

// The word, in the language's code page, as keys spell it: white space collapsed and, in
// the single-byte languages, folded to ASCII. False when the word has no ASCII spelling
// (a currency sign); out then holds the collapsed word unfolded.
bool keyWord(uint32_t languageCode, const std::string& codePageWord, std::string* out);

}  // namespace orvia::text
