// A word given on the command line, checked before any dictionary sees it, and shown in
// messages without letting its bytes act on the terminal.
#pragma once

#include <string>

namespace orviadic {

// The word when it is one: not empty, UTF-8, no control characters (an escape sequence
// would act on the terminal wherever the word is shown), shorter than any key can be.
// Otherwise throws CommandFailure (exit 2) with a one-line reason.
const std::string& checkedWord(const std::string& word);

// The word for a message: control characters and bytes that are not UTF-8 as \xNN, and a
// long word cut short with its length in bytes.
std::string printable(const std::string& word);

}  // namespace orviadic
