// The Soundex code of a word: its first letter and three digits for the consonants that
// follow, so that words that sound alike in English share a code ("Robert", "Rupert":
// R163).
#pragma once

#include <string>
#include <string_view>

namespace orviadic::match {

// The four-character code of the ASCII letters of word, others passed over; empty when
// word holds no letter. Vowels, y, h and w get no digit; a letter with the digit of the
// one before it adds nothing, unless a vowel stands between them (h and w do not part
// them). Short codes are filled with "0".
std::string soundexOf(std::string_view word);

}  // namespace orviadic::match
