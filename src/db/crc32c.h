// CRC-32C (Castagnoli), the checksum of every checked region of an index file.
#pragma once

#include <cstddef>
#include <cstdint>

namespace orvia::db {

// Continues a checksum: crc32c(b, crc32c(a)) equals the checksum of a followed by b.
uint32_t crc32c(const uint8_t* data, size_t size, uint32_t previous = 0);
// The table-driven form, used where the processor has no CRC-32C instruction.
uint32_t crc32cPortable(const uint8_t* data, size_t size, uint32_t previous = 0);

}  // namespace orvia::db
