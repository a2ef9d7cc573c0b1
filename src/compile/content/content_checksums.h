// The checksums of a dictionary's content, kept beside its index in a file of the
// compiler's own ("00010101.CRC"; the library never reads it): the data file format has
// none, and stored and masked records decode whatever their bytes are. One CRC-32C per
// entry's first record, over the text a reader gets back from it (terminator excluded).
// The file, integers little-endian:
//   offset  size  field
//        0     8  "OVDCRC1" and a zero byte
//        8     4  N, the number of pairs
//       12   8*N  pairs by ascending locator, each locator once: u32 locator (the offset
//                 of the record in the main data file, as the index record gives it
//                 after its extended reference), u32 CRC-32C of the text
//   12+8N     4  CRC-32C of every byte before it
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvia::compile {

uint32_t textChecksum(std::string_view text);

class ContentChecksums {
 public:
  // Notes the text's checksum for the record at locator; a locator noted again (entries
  // sharing a record) keeps its first checksum.
  void add(uint32_t locator, uint32_t checksum) { pairs_.emplace_back(locator, checksum); }
  // Writes the file at path; false when it cannot.
  bool write(const std::string& path);

 private:
  std::vector<std::pair<uint32_t, uint32_t>> pairs_;
};

// The checksums by locator; nothing when the file is missing, too short or long for its
// count, out of order or fails its own checksum.
std::optional<std::map<uint32_t, uint32_t>> readContentChecksums(const std::string& path);

}  // namespace orvia::compile
