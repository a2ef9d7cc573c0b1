#include "compile/content/content_checksums.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>

#include "base/bytes.h"
#include "db/crc32c.h"

namespace orvia::compile {
namespace {

constexpr char kMagic[8] = {'O', 'V', 'D', 'C', 'R', 'C', '1', '\0'};
constexpr size_t kHeaderSize = 12, kPairSize = 8, kTrailerSize = 4;

uint32_t checksumOf(const std::vector<uint8_t>& bytes, size_t size) {
  return db::crc32c(bytes.data(), size);
}

}  // namespace

uint32_t textChecksum(std::string_view text) {
  return db::crc32c(reinterpret_cast<const uint8_t*>(text.data()), text.size());
}

bool ContentChecksums::write(const std::string& path) {
  std::stable_sort(pairs_.begin(), pairs_.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  pairs_.erase(std::unique(pairs_.begin(), pairs_.end(),
                           [](const auto& a, const auto& b) { return a.first == b.first; }),
               pairs_.end());
  std::vector<uint8_t> bytes(kHeaderSize + kPairSize * pairs_.size() + kTrailerSize);
  std::memcpy(bytes.data(), kMagic, sizeof kMagic);
  storeU32Le(&bytes[8], uint32_t(pairs_.size()));
  for (size_t i = 0; i < pairs_.size(); ++i) {
    storeU32Le(&bytes[kHeaderSize + kPairSize * i], pairs_[i].first);
    storeU32Le(&bytes[kHeaderSize + kPairSize * i + 4], pairs_[i].second);
  }
  const size_t body = bytes.size() - kTrailerSize;
  storeU32Le(&bytes[body], checksumOf(bytes, body));
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  return bool(file.flush());
}

std::optional<std::map<uint32_t, uint32_t>> readContentChecksums(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return std::nullopt;
  // Parentheses, not braces: cppcheck reads braces as a list of two bytes.
  const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(file)),
                                   std::istreambuf_iterator<char>());
  if (bytes.size() < kHeaderSize + kTrailerSize ||
      std::memcmp(bytes.data(), kMagic, sizeof kMagic) != 0)
    return std::nullopt;
  const uint64_t count = loadU32Le(&bytes[8]);
  if (bytes.size() != kHeaderSize + kPairSize * count + kTrailerSize) return std::nullopt;
  const size_t body = bytes.size() - kTrailerSize;
  if (loadU32Le(&bytes[body]) != checksumOf(bytes, body)) return std::nullopt;
  std::map<uint32_t, uint32_t> checksums;
  for (size_t i = 0; i < count; ++i) {
    const uint32_t locator = loadU32Le(&bytes[kHeaderSize + kPairSize * i]);
    if (!checksums.empty() && locator <= checksums.rbegin()->first) return std::nullopt;
    checksums.emplace_hint(checksums.end(), locator,
                           loadU32Le(&bytes[kHeaderSize + kPairSize * i + 4]));
  }
  return checksums;
}

}  // namespace orvia::compile
