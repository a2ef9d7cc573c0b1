#include "db/crc32c.h"

#include <array>

#if defined(__x86_64__) && defined(__GNUC__)
#include <cpuid.h>
#endif

#include "base/bytes.h"

namespace orvia::db {
namespace {

constexpr uint32_t kPolynomial = 0x82F63B78u;  // reflected Castagnoli polynomial

// Eight tables let the loop fold eight bytes per step; the records area of a large
// index is checksummed by every bulk load and compaction. Built by the compiler, so that a
// process whose only checksums are a few headers does not build them first.
struct Tables {
  std::array<std::array<uint32_t, 256>, 8> t{};
  constexpr Tables() {
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

constexpr Tables kTables;

}  // namespace

uint32_t crc32cPortable(const uint8_t* data, size_t size, uint32_t previous) {
  const auto& t = kTables.t;
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

// Asked once, with one CPUID, when the first long checksum is taken. On a virtual machine
// each CPUID traps to the hypervisor, some ten microseconds or more; the compiler's own
// feature test would link in a constructor that runs several of them at every start of
// every program that loads the store.
bool hasHardwareCrc() {
  static const bool has = [] {
    unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
    return __get_cpuid(1, &eax, &ebx, &ecx, &edx) != 0 && (ecx & bit_SSE4_2) != 0;
  }();
  return has;
}

// Below this, the tables finish sooner than the question whether the instruction exists,
// so a process that only opens a store checks its headers without asking it.
constexpr size_t kHardwareFrom = 4096;
#endif

}  // namespace

uint32_t crc32c(const uint8_t* data, size_t size, uint32_t previous) {
#if defined(__x86_64__) && defined(__GNUC__)
  if (size >= kHardwareFrom && hasHardwareCrc()) return crc32cHardware(data, size, previous);
#endif
  return crc32cPortable(data, size, previous);
}

}  // namespace orvia::db
