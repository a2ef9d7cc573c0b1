// User-entry files: the ".DAT" files of record and memory dictionaries. Little-endian,
// 32-bit offsets from the start of the file.
//
//   offset  size  field
//        0     4  head of the free-block list (offset of the first free block, 0: none)
//   after    256  blocks, each starting with a u32 link to the next block of its chain
//                 (0 ends it); placed wherever the file ended when they were appended
//
// Entry head block: link to the first content block, u32 key length k (at most 244),
// u32 content length C, k key bytes (no NUL). Content block: link, then up to 252
// content bytes; every block of a chain but the last is full. Free blocks form one chain
// from the free-list head; a freed entry joins it whole, links kept.
// A reader tolerates nothing else: a link of 0 before C bytes were read, a block that
// does not lie wholly in the file, and a block met twice are damage.
#pragma once

#include <cstdint>

namespace orvia::content {

inline constexpr uint32_t kFreeListHeadOffset = 0;
inline constexpr uint32_t kFirstBlockOffset = 4;
inline constexpr uint32_t kUserBlockSize = 256;
inline constexpr uint32_t kUserBlockPayload = 252;
inline constexpr uint32_t kBlockLinkOffset = 0;
inline constexpr uint32_t kBlockDataOffset = 4;
inline constexpr uint32_t kHeadKeyLengthOffset = 4;
inline constexpr uint32_t kHeadContentLengthOffset = 8;
inline constexpr uint32_t kHeadKeyOffset = 12;
inline constexpr uint32_t kMaxUserKeyLength = 244;

}  // namespace orvia::content
