#include "terminal_text.h"

#include "cli.h"
#include "compile/key/entry_key.h"
#include "lang/lang_ops.h"
#include "text/ascii_fold.h"
#include "text/code_page.h"

namespace orviadic {

using orvia::text::CodePageConverter;

std::string toCodePage(uint32_t dictId, const std::string& utf8, const char* what) {
  const char* codePage = orvia::text::codePageName(orvia::lang::languageOf(dictId));
  if (codePage == nullptr) return utf8;
  CodePageConverter converter(codePage);
  std::string converted;
  if (!converter.valid() || !converter.convert(utf8, &converted))
    throw CommandFailure{kExitError, std::string("the ") + what +
                                         " cannot be written in the dictionary's code page"};
  return converted;
}

std::string toDictionaryWord(uint32_t dictId, const std::string& utf8) {
  std::string converted = toCodePage(dictId, utf8, "word");
  // Only single-byte keys are ASCII: the bytes of a double-byte character would read as
  // accented Windows-1252 letters and fold away.
  if (!orvia::compile::keysFoldToAscii(orvia::lang::languageOf(dictId))) return converted;
  std::string folded;
  return orvia::text::foldToAscii(converted, &folded) ? folded : converted;
}

std::string toTerminal(uint32_t dictId, const std::string& text) {
  const char* codePage = orvia::text::codePageName(orvia::lang::languageOf(dictId));
  if (codePage == nullptr) return text;
  CodePageConverter converter(codePage, CodePageConverter::Direction::kToUtf8);
  std::string converted;
  if (converter.valid() && converter.convert(text, &converted)) return converted;
  // Convert byte by byte so that one undefined byte does not hide the rest.
  std::string out;
  for (char c : text) {
    out += converter.valid() && converter.convert(std::string(1, c), &converted) ? converted : "?";
  }
  return out;
}

}  // namespace orviadic
