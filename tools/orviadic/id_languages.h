// The language codes of a dictionary id's bytes 0 (keys) and 1 (content), by the short
// names a user types: en 1, zh-cn 2, zh-tw 3, ja 4, ko 5, and for other languages written
// in Windows-1252 de 6, fr 7, es 8, any other 9. Codes 6 to 9 key words as English does.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace orviadic {

// The code for a language name (any ASCII case); nothing for a language the table has
// no code for.
std::optional<uint8_t> languageCodeNamed(const std::string& name);
// The name shown for a code: the table's name, "other" for 9, else the number itself.
std::string languageName(uint8_t code);

}  // namespace orviadic
