// LZW encoders for the two code-stream record types. Each appends the code stream
// (padded to whole 32-bit words) to codes and returns false when the text cannot be
// coded: an empty text for both, any NUL byte for type 1 (its end code).
#pragma once

#include <cstdint>
#include <vector>

namespace orvia::compile {

bool encodeLzwType1(const uint8_t* text, uint32_t size, std::vector<uint8_t>* codes);
// Type 64 starts the table afresh with its reset code whenever the table fills.
bool encodeLzwType64(const uint8_t* text, uint32_t size, std::vector<uint8_t>* codes);

}  // namespace orvia::compile
