// The homograph number behind an "@" that ends a key's text, shared by the comparisons of
// the families that honour it.
#pragma once

namespace orvia::lang {

// Compares the decimal numbers that stand at endA and endB: an "@" there is passed over,
// then the digits behind it are read (none: the number 0). Numbers of any length compare
// by value, so a long run of digits cannot overflow. Negative, 0 or positive.
int compareHomographNumbers(const char* endA, const char* endB);

}  // namespace orvia::lang
