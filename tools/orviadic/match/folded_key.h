// Keys as the strategies compare them. The list functions hand out a record's key as it is
// shown ("Café", "Bank"); matching works on its folded form: the compiler's ASCII
// spelling, lower case, without a homograph number ("cafe", "bank").
#pragma once

#include <string>
#include <string_view>

namespace orviadic::match {

// Folds key into *out (cleared first). Bytes with no ASCII spelling stay as they are, so a
// key of a double-byte language keeps its characters and folds only its ASCII letters.
void foldKey(std::string_view key, bool asciiSpelling, std::string* out);

// The letters and spaces of a folded key, in order: the part of a key by which the
// single-byte collation orders records first. Keys sharing a prefix of it stand together.
std::string significantPart(std::string_view folded);

}  // namespace orviadic::match
