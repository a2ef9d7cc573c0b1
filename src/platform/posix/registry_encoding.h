// The two encodings a registry text file comes in: bytes (ANSI or UTF-8, perhaps with a
// UTF-8 byte-order mark), or UTF-16LE with a byte-order mark, which is what the registry
// editor exports by default. The text model works on bytes; a UTF-16LE file is turned
// into UTF-8 for it and back on writing. Unpaired surrogates are carried as their
// three-byte forms, so that any UTF-16LE file is written back exactly as it came.
#pragma once

#include <optional>
#include <string>

namespace orvia::platform::regtext {

// True when bytes start with the UTF-16LE byte-order mark.
bool isUtf16le(const std::string& bytes);

// The text of a UTF-16LE file, byte-order mark included, as UTF-8; nullopt when its
// length is odd.
std::optional<std::string> utf8FromUtf16le(const std::string& bytes);

// The inverse; nullopt when text is not UTF-8 (unpaired surrogates allowed).
std::optional<std::string> utf16leFromUtf8(const std::string& text);

}  // namespace orvia::platform::regtext
