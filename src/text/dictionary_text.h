// Texts between UTF-8 and a dictionary, told by the language code of its id (byte 0): what
// every client of the dictionaries needs around the library's byte strings.
#pragma once

#include <cstdint>
#include <string>

namespace orvia::text {

// The language code of a dictionary id: its byte 0, or 0 when the id is not valid (one
// of its three low bytes is zero).
inline uint32_t languageOfDictId(uint32_t dictId) {
  const bool valid = (dictId & 0xFF) != 0 && (dictId & 0xFF00) != 0 && (dictId & 0xFF0000) != 0;
  return valid ? dictId & 0xFF : 0;
}

// UTF-8 in the language's code page, or the reverse. A language without a code page (0,
// 10 and above) takes the bytes as they are. False, out unspecified, when the text is not
// valid in its encoding, holds a character the other lacks, or holds a zero byte.
bool utf8ToCodePage(uint32_t languageCode, const std::string& utf8, std::string* out);
bool codePageToUtf8(uint32_t languageCode, const std::string& text, std::string* out);

// A dictionary's text in UTF-8 whatever it holds: a byte the code page does not define
// shows as "?", so that one such byte does not hide the rest.
std::string readableUtf8(uint32_t languageCode, const std::string& text);

// The word to look a UTF-8 word up by, in the code page and folded as the compiler folds
// headwords into keys ("Café" is looked up as "Cafe"). A word without an ASCII spelling
// stays unfolded: no key was made of one, and the search lands on its nearest entry.
// False when the code page cannot write the word.
bool searchWordOf(uint32_t languageCode, const std::string& utf8, std::string* out);

// An entry's content made readable UTF-8 (entry_text.h).
std::string readableEntry(uint32_t languageCode, const std::string& content);

}  // namespace orvia::text
