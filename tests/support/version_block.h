// Version information blocks as the POSIX backend's versionInfo hands them out, laid out
// by hand for the tests of the version parse. (On Windows the system lays them out: the
// tests read the library's own version resource there.)
#pragma once

#include <cstdint>
#include <vector>

namespace orvia::testing {

// A block with the given translation pairs (language in the low 16 bits, code page in
// the high 16) and a FileVersion string under each.
std::vector<uint8_t> makeVersionBlock(const std::vector<uint32_t>& translations,
                                      const char* fileVersion);

}  // namespace orvia::testing
