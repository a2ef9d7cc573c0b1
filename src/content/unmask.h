// Type-2 bodies: a u32 mask followed by the masked bytes.
#pragma once

#include <cstdint>

namespace orvia::content {

// REQUIRES: body holds 4 + count bytes; out holds count + 1 bytes.
// Whole 32-bit words of the count bytes are XORed with the mask, the last count mod 4
// bytes are copied unchanged, and a NUL follows. Always 1.
uint32_t unmaskType2(const uint8_t* body, uint8_t* out, uint32_t count);

}  // namespace orvia::content
