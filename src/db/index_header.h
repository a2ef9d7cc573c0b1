// Encoding and decoding of the index file's prefix and header slots.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "db/index_format.h"

namespace orvia::db {

struct IndexHeader {
  uint32_t generation = 0;
  uint32_t placement = kSegmentInFile;
  uint64_t segmentOffset = 0;
  uint64_t segmentSize = 0;
  uint64_t logOffset = 0;
  int slot = 0;  // which slot it was read from
};

enum class HeaderStatus { kOk, kNotIndex, kCorrupt };

void encodeHeaderSlot(const IndexHeader& header, uint8_t* slot);
// Fills a zeroed 256-byte prefix: magic, a zero counter and header in slot 0.
void encodeIndexPrefix(const IndexHeader& header, uint8_t* prefix);
// REQUIRES: prefix holds kIndexPrefixSize bytes. Picks the current slot.
HeaderStatus decodeIndexPrefix(const uint8_t* prefix, IndexHeader* header);
uint64_t decodeChangeCounter(const uint8_t* prefix);

// The file holding an own-file segment of the given generation.
std::string segmentPathFor(const std::string& indexPath, uint32_t generation);
// The generation of the segment file whose path is the index path followed by end
// (".0000002A"); false for any other ending.
bool segmentGenerationOf(const std::string& end, uint32_t* generation);

}  // namespace orvia::db
