// The record a merge inserts into its target: the new-word record with the place of its
// content in the target's data file. A locator below 0xFFFFFF stands in the low 24 bits of
// contentRef beside the record's level; a larger one is the extended form: 0xFFFFFF there
// and the locator as a u32 right after the third string, all that follows moving up by 4.
#pragma once

#include <cstdint>

#include "base/result.h"
#include "dict/index_record.h"

namespace orvia::update {

struct MergedLocator {
  uint32_t contentRef = 0;
  bool extended = false;
  uint32_t extendedRef = 0;  // when extended
};

// Where the record's content lies in the new-word companion's data file: the low 24 bits
// of contentRef, or its extendedRef. kDamaged when the extended form lacks its u32.
Status sourceOffsetOf(const dict::IndexRecordView& record, uint32_t* out);

// The locator of content appended at offset, for a record of level byte levelBits (bits
// 24 to 31): the short form when offset fits in 24 bits and is not 0xFFFFFF.
MergedLocator locatorAtOffset(uint32_t levelBits, uint32_t offset);

// The locator a shared record of the server's index gives: in the short form its whole
// contentRef beside the level (its own top byte included, as the shared files lay it
// out); in the extended form its extendedRef, designated exactly as locatorAtOffset does.
// kDamaged when the extended form lacks its u32.
Status locatorFromShared(uint32_t levelBits, const dict::IndexRecordView& shared,
                         MergedLocator* out);

// Turns the record parsed into view, in block (kRecordBlockSize bytes at least), into the
// merged record in place and gives the length of its string area (from offset 16). kNoRoom,
// with block unchanged, when the extended form would pass kMaxIndexRecordSize.
Status makeMergedRecord(uint8_t* block, const dict::IndexRecordView& view,
                        const MergedLocator& locator, uint32_t* areaLength);

}  // namespace orvia::update
