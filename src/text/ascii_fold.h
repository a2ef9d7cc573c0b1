// The ASCII spelling of a Windows-1252 text, from which the single-byte languages make
// their search keys: "café" is found as "cafe", "Æsir" as "AEsir".
#pragma once

#include <string>
#include <string_view>

namespace orvia::text {

// Letters lose their accents, ligatures become two letters and typographic punctuation
// becomes its ASCII look-alike; a soft hyphen is dropped. False when a byte has no ASCII
// spelling (a currency sign, a dagger, an undefined code point); out is then unspecified.
bool foldToAscii(std::string_view windows1252, std::string* out);

}  // namespace orvia::text
