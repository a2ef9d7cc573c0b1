// New-word files laid out in the test, byte by byte, without the library's header coder,
// so that a mistake in the coder cannot hide in both writer and reader.
#pragma once

#include <cstdint>
#include <string>

namespace orvia::testing {

struct NewWordFields {
  uint32_t targetDictId = 0x01020304;
  uint32_t listVersion = 1;
  std::string listTime = std::string(16, '\0');
  uint32_t headerSize = 40;
  uint32_t indexImageSize = 0;
  uint32_t contentImageSize = 0;
  uint32_t imagesSize = 0;
};

inline std::string u32Le(uint32_t v) {
  return {char(v), char(v >> 8), char(v >> 16), char(v >> 24)};
}

inline std::string newWordHeader(const NewWordFields& f) {
  return u32Le(f.targetDictId) + u32Le(f.listVersion) + f.listTime.substr(0, 16) +
         u32Le(f.headerSize) + u32Le(f.indexImageSize) + u32Le(f.contentImageSize) +
         u32Le(f.imagesSize);
}

// A consistent file of the two images.
inline std::string newWordFile(uint32_t target, uint32_t version, const std::string& time,
                               const std::string& indexImage, const std::string& contentImage) {
  NewWordFields f{target,
                  version,
                  time,
                  40,
                  uint32_t(indexImage.size()),
                  uint32_t(contentImage.size()),
                  uint32_t(indexImage.size() + contentImage.size())};
  return newWordHeader(f) + indexImage + contentImage;
}

// Bytes that differ from their neighbours and from any other run's at the same place.
inline std::string fillerBytes(size_t n, uint8_t seed) {
  std::string bytes(n, '\0');
  for (size_t i = 0; i < n; ++i) bytes[i] = char(seed + i * 7 + i / 251);
  return bytes;
}

}  // namespace orvia::testing
