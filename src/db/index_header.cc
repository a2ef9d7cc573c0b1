#include "db/index_header.h"

#include <cstring>

#include "base/bytes.h"
#include "db/crc32c.h"

namespace orvia::db {
namespace {

// Segment file names end in the generation as upper-case hexadecimal digits.
const char kHex[] = "0123456789ABCDEF";

bool decodeSlot(const uint8_t* p, IndexHeader* out) {
  if (loadU32Le(p + 60) != crc32c(p, kHeaderSlotCrcOffset)) return false;
  if (loadU32Le(p) != kFormatVersion) return false;
  IndexHeader h;
  h.generation = loadU32Le(p + 4);
  h.placement = loadU32Le(p + 8);
  h.segmentOffset = loadU64Le(p + 16);
  h.segmentSize = loadU64Le(p + 24);
  h.logOffset = loadU64Le(p + 32);
  if (h.generation == 0 || h.logOffset < kIndexPrefixSize) return false;
  if (h.placement == kSegmentInFile) {
    // An in-file segment lies between the prefix and the log.
    if (h.segmentOffset < kIndexPrefixSize || h.segmentOffset > h.logOffset ||
        h.segmentSize > h.logOffset - h.segmentOffset)
      return false;
  } else if (h.placement != kSegmentInOwnFile || h.segmentOffset != 0) {
    return false;
  }
  *out = h;
  return true;
}

}  // namespace

void encodeHeaderSlot(const IndexHeader& h, uint8_t* p) {
  std::memset(p, 0, kHeaderSlotSize);
  storeU32Le(p, kFormatVersion);
  storeU32Le(p + 4, h.generation);
  storeU32Le(p + 8, h.placement);
  storeU64Le(p + 16, h.segmentOffset);
  storeU64Le(p + 24, h.segmentSize);
  storeU64Le(p + 32, h.logOffset);
  storeU32Le(p + 60, crc32c(p, kHeaderSlotCrcOffset));
}

void encodeIndexPrefix(const IndexHeader& header, uint8_t* prefix) {
  std::memset(prefix, 0, kIndexPrefixSize);
  std::memcpy(prefix, kIndexMagic, sizeof kIndexMagic);
  encodeHeaderSlot(header, prefix + kHeaderSlotOffset[0]);
}

HeaderStatus decodeIndexPrefix(const uint8_t* prefix, IndexHeader* header) {
  if (std::memcmp(prefix, kIndexMagic, sizeof kIndexMagic) != 0) return HeaderStatus::kNotIndex;
  IndexHeader slots[2];
  bool valid[2];
  for (int i = 0; i < 2; ++i) {
    valid[i] = decodeSlot(prefix + kHeaderSlotOffset[i], &slots[i]);
    slots[i].slot = i;
  }
  if (!valid[0] && !valid[1]) return HeaderStatus::kCorrupt;
  int pick = !valid[1] || (valid[0] && slots[0].generation > slots[1].generation) ? 0 : 1;
  *header = slots[pick];
  return HeaderStatus::kOk;
}

uint64_t decodeChangeCounter(const uint8_t* prefix) {
  return loadU64Le(prefix + kChangeCounterOffset);
}

std::string segmentPathFor(const std::string& indexPath, uint32_t generation) {
  std::string path = indexPath + ".";
  for (int shift = 28; shift >= 0; shift -= 4) path += kHex[(generation >> shift) & 0xF];
  return path;
}

bool segmentGenerationOf(const std::string& end, uint32_t* generation) {
  if (end.size() != 9 || end[0] != '.') return false;
  uint32_t value = 0;
  for (size_t i = 1; i < end.size(); ++i) {
    const char* digit = end[i] == '\0' ? nullptr : std::strchr(kHex, end[i]);
    if (digit == nullptr) return false;
    value = value << 4 | uint32_t(digit - kHex);
  }
  *generation = value;
  return true;
}

}  // namespace orvia::db
