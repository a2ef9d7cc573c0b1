// Texts a user types for notes and records, made into what the library stores: the
// dictionary's code page, CR LF lines, and for records the layout the exchange and the
// merge expect of a user's word.
#pragma once

#include <cstdint>
#include <string>

namespace orviadic {

// TEXT as given on the command line, or standard input when it is "-".
std::string readTextArgument(const std::string& text);

// UTF-8 text in the code page of byte 0 of dictId, its lines ended by CR LF (a final
// line end is not added). Throws CommandFailure when the code page cannot write it.
std::string toDictionaryText(uint32_t dictId, const std::string& utf8);

// The marker code of a dictionary's user words: byte 1 of its id, when 1 to 5.
bool hasUserMarker(uint32_t dictId);

// A user record's content: the word on the first line with the user marker after it,
// then the text. Without a marker code, the word line and the text alone.
std::string recordContent(uint32_t dictId, const std::string& word, const std::string& text);

}  // namespace orviadic
