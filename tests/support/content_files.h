// Data files for the content tests: records laid out from the record header (never
// through the library's writers), placed behind the head of tests/data/content/head.hex.
#pragma once

#include <cstdint>
#include <string>

#include "support/golden.h"

namespace orvia::testing {

// Where the first record lies behind head.hex: 0x10007 and its 42 bytes of trees.
inline constexpr uint32_t kFirstRecordOffset = 0x10031;
inline constexpr uint32_t kNoContinuation = 0xFFFFFFFF;

inline std::string le32(uint32_t v) {
  return {char(v), char(v >> 8), char(v >> 16), char(v >> 24)};
}

// A content record: header (type, length), continuation reference, body.
inline std::string contentRecord(uint8_t type, uint32_t reference, const std::string& body) {
  return le32(uint32_t(type) << 24 | uint32_t(8 + body.size())) + le32(reference) + body;
}

// The golden file content/name as a data file: one shorter than a head holds records
// that go behind head.hex.
inline std::string goldenDataFile(const std::string& name) {
  std::string bytes = goldenBytes("content/" + name);
  return bytes.size() < kFirstRecordOffset ? goldenBytes("content/head.hex") + bytes : bytes;
}

}  // namespace orvia::testing
