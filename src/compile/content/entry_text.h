// The content text the compiler writes for an entry; readers get exactly these bytes back.
// From the entry's UTF-8 headword and text:
//   1. The text is cut into lines at each LF, a CR just before an LF going with it;
//      empty lines at its end are dropped.
//   2. When the first line does not start with the headword, byte for byte, the
//      headword goes first as a line of its own, so the first line always holds the
//      entry's word (an entry without text is its headword alone).
//   3. A line that starts with '~' gets a space in front: a tilde there opens a tag.
//   4. The lines are joined with CR LF and the end marker CR LF "~!" follows.
//   5. The whole is converted to the dictionary's code page; a character the code page
//      lacks becomes "&#x" hex ";" and a zero byte or a byte that is not UTF-8 "?".
#pragma once

#include <string>
#include <string_view>

#include "text/code_page.h"

namespace orvia::compile {

// An entry's text in two parts: the headword's line when rule 2 puts it first, CR LF
// included, else empty; and the rest, which entries made from one source text share.
struct EntryText {
  std::string head;
  std::string body;
};

// REQUIRES: converter converts into the dictionary's code page.
// False only when the converter is not valid.
bool makeEntryText(std::string_view headword, std::string_view text,
                   text::CodePageConverter& converter, EntryText* out);
// The two parts joined.
bool makeEntryText(std::string_view headword, std::string_view text,
                   text::CodePageConverter& converter, std::string* out);

}  // namespace orvia::compile
