#include "serve/command_parser.h"

namespace orviadic::serve {

ParsedCommand parseCommand(std::string_view line) {
  ParsedCommand parsed;
  std::string word;
  bool inWord = false;
  char quote = 0;
  for (size_t at = 0; at < line.size(); ++at) {
    const char c = line[at];
    if (c == '\\') {
      if (++at == line.size()) {
        parsed.unbalanced = true;
        return parsed;
      }
      word += line[at];
      inWord = true;
    } else if (quote != 0) {
      if (c == quote)
        quote = 0;
      else
        word += c;
    } else if (c == '"' || c == '\'') {
      // An empty quoted word ("") is still a word.
      quote = c;
      inWord = true;
    } else if (c == ' ' || c == '\t') {
      if (inWord) parsed.words.push_back(std::move(word));
      word.clear();
      inWord = false;
    } else {
      word += c;
      inWord = true;
    }
  }
  if (quote != 0) parsed.unbalanced = true;
  if (inWord) parsed.words.push_back(std::move(word));
  return parsed;
}

std::string quotedWord(std::string_view word) {
  std::string out = "\"";
  for (const char c : word) {
    if (c == '"' || c == '\\') out += '\\';
    out += c;
  }
  return out + '"';
}

}  // namespace orviadic::serve
