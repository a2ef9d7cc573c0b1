#include "terminal_text.h"

#include "conventions.h"
#include "text/dictionary_text.h"

namespace orviadic {

using orvia::text::languageOfDictId;

std::string toCodePage(uint32_t dictId, const std::string& utf8, const char* what) {
  std::string converted;
  if (!orvia::text::utf8ToCodePage(languageOfDictId(dictId), utf8, &converted))
    throw CommandFailure{kExitError, std::string("the ") + what +
                                         " cannot be written in the dictionary's code page"};
  return converted;
}

std::string toDictionaryWord(uint32_t dictId, const std::string& utf8) {
  std::string word;
  if (!orvia::text::searchWordOf(languageOfDictId(dictId), utf8, &word))
    throw CommandFailure{kExitError, "the word cannot be written in the dictionary's code page"};
  return word;
}

std::string toTerminal(uint32_t dictId, const std::string& text) {
  return orvia::text::readableUtf8(languageOfDictId(dictId), text);
}

std::string readableEntry(uint32_t dictId, const std::string& content, bool emphasis) {
  std::string text = orvia::text::readableEntry(languageOfDictId(dictId), content);
  const size_t firstLineEnd = text.find('\n');
  if (!emphasis || firstLineEnd == std::string::npos || firstLineEnd == 0) return text;
  return "\033[1m" + text.substr(0, firstLineEnd) + "\033[0m" + text.substr(firstLineEnd);
}

}  // namespace orviadic
