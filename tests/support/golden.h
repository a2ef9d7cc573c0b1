// Golden files: byte layouts worked out by hand from the formats, kept under tests/data/ as
// annotated hex text, so that a reviewer reads each byte beside the reason it is there.
//
//   # a note, to the end of the line: how the bytes below were worked out
//   0e 00 00 00        two hex digits per byte, spaces and line breaks free
//   "apple"            the bytes of the text as written (no escapes, no terminator)
//   00*16              a byte repeated: 16 zero bytes
#pragma once

#include <string>

namespace orvia::testing {

// ORVIADIC_SOURCE_DIR/tests/data/name (the test runner sets the variable).
std::string dataPath(const std::string& name);

// The bytes a golden file spells. A missing or malformed file fails the calling test and
// gives an empty string.
std::string goldenBytes(const std::string& name);

// The same syntax from a string, for layouts a table builds from a few bytes.
bool parseGolden(const std::string& text, std::string& bytes);

}  // namespace orvia::testing
