#include "db/crc32c.h"

#include <array>

#include "base/bytes.h"

namespace orvia::db {
namespace {

constexpr uint32_t kPolynomial = 0x82F63B78u;  // reflected Castagnoli polynomial

// Eight tables let the loop fold eight bytes per step; the records area of a large
// index is checksummed by every bulk load and compaction.
struct Tables {
  std::array<std::array<uint32_t, 256>, 8> t{};
  Tables() {
    for (uint32_t i = 0; i < 256; ++i) {
      uint32_t c = i;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? (c >> 1) ^ kPolynomial : c >> 1;
      t[0][i] = c;
    }
    for (uint32_t i = 0; i < 256; ++i) {
      for (size_t k = 1; k < 8; ++k) t[k][i] = (t[k - 1][i] >> 8) ^ t[0][t[k - 1][i] & 0xFF];
    }
  }
};

const Tables& tables() {
  static const Tables instance;
  return instance;
}

}  // namespace

uint32_t crc32cPortable(const uint8_t* data, size_t size, uint32_t previous) {
  const auto& t = tables().t;
  uint32_t c = ~previous;
  while (size >= 8) {
    uint32_t lo = c ^ loadU32Le(data);
    c = t[7][lo & 0xFF] ^ t[6][(lo >> 8) & 0xFF] ^ t[5][(lo >> 16) & 0xFF] ^ t[4][lo >> 24] ^
        t[3][data[4]] ^ t[2][data[5]] ^ t[1][data[6]] ^ t[0][data[7]];
    data += 8;
    size -= 8;
  }
  while (size-- > 0) c = (c >> 8) ^ t[0][(c ^ *data++) & 0xFF];
  return ~c;
}

namespace {

#if defined(__x86_64__) && defined(__GNUC__)
// The processor's own CRC-32C instruction, several times faster than the tables; bulk
// loads and compactions checksum every byte they write.
__attribute__((target("sse4.2"))) uint32_t crc32cHardware(const uint8_t* data, size_t size,
                                                          uint32_t previous) {
  uint64_t c = ~previous;
  while (size >= 8) {
    uint64_t word = 0;
    for (int i = 7; i >= 0; --i) word = word << 8 | data[i];
    c = __builtin_ia32_crc32di(c, word);
    data += 8;
    size -= 8;
  }
  uint32_t c32 = uint32_t(c);
  while (size-- > 0) c32 = __builtin_ia32_crc32qi(c32, *data++);
  return ~c32;
}

bool hasHardwareCrc() {
  static const bool has = __builtin_cpu_supports("sse4.2");
  return has;
}
#endif

}  // namespace

uint32_t crc32c(const uint8_t* data, size_t size, uint32_t previous) {
#if defined(__x86_64__) && defined(__GNUC__)
  if (hasHardwareCrc()) return crc32cHardware(data, size, previous);
#endif
  return crc32cPortable(data, size, previous);
}

}  // namespace orvia::db
