// Reading an exchange file (update/owner_word_format.h) back: the number of items of a
// dictionary's section, and their import, each item deciding there whether it becomes a
// record or a memory note. No lock is taken. Nothing is undone: a failed import keeps the
// items before the one it stopped at.
#pragma once

#include <cstdint>

#include "base/result.h"
#include "content/file_access.h"
#include "dict/handles.h"
#include "update/owner_word_format.h"

namespace orvia::update {

// The first section whose id is d in the exchange file at path, and where its items start.
// kReadFailed for a missing file, kDamaged for a wrong magic, version, section count or
// total size (offset 0), kTruncated where a section header cannot be read, kEmpty when no
// section is d's.
Status findOwnerWordSection(content::FileHandle file, uint32_t d, OwnerWordSectionHeader* out,
                            uint32_t* itemsAt);

// R + M of d's first section.
Status countImportOwnerWords(uint32_t d, const char* path, uint32_t* count);

// Imports d's first section. callback, when not null, is called before every item but the
// first and once after the last; 0 stops the import with kStopped.
Status importOwnerWords(uint32_t d, const char* path, DicImportCallback callback);

// Imports the R + M items that start at itemsAt into d's companions and index. Each item
// is looked up in d's own index:
//   a word d has as a record:  stays a record (a memory item gets d's marker line first);
//   one of d's own words:      becomes a memory note (a record item loses its marker line);
//   a word d lacks:            becomes a record (a memory item gets the marker line first).
// An existing record or note of the word is kept and the item skipped. The marker is the
// one of byte 1 of d; content languages without one (outside 1..5) leave texts as they are.
// kDamaged for K above 1,000, C of 0 or a memory item without a line break for the marker,
// kTruncated for an item the file ends in, the companions' causes when they cannot be
// opened or written.
Status importOwnerWordSection(content::FileHandle file, uint32_t itemsAt,
                              const OwnerWordSectionHeader& section, uint32_t d,
                              DicImportCallback callback);

}  // namespace orvia::update
