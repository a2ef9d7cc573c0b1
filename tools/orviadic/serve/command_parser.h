// A DICT command line split into its words. Words are separated by spaces and tabs; a
// word may be quoted with " or ', and a backslash takes the next character as it is, inside
// quotes or out, so a client can send a word holding spaces or quotes.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace orviadic::serve {

struct ParsedCommand {
  std::vector<std::string> words;
  // A quote left open, or a backslash with nothing after it: the words are then not
  // to be trusted and the command gets 501.
  bool unbalanced = false;
};

// REQUIRES: line without its line end.
ParsedCommand parseCommand(std::string_view line);

// word quoted for a response line, its quotes and backslashes escaped, so that a client
// parsing the line as a command line gets word back.
std::string quotedWord(std::string_view word);

}  // namespace orviadic::serve
