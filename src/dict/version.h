// The library's file version as dicGetVersion packs it.
#pragma once

#include <cstdint>

#include "platform/platform.h"

namespace orvia::dict {

// Reads the FileVersion of the module's version information; 0 on any failure.
uint32_t readModuleVersion(platform::ModuleHandle module);
// The FileVersion string of a version block, chosen by its only translation; 0 when the
// block has no translation, several, or no FileVersion for it.
uint32_t versionFromBlock(const void* block);
// Packs a FileVersion string of at most length characters: 8-bit components separated
// by commas, every other character skipped; a component cut off by length is dropped.
uint32_t parseFileVersion(const char* text, uint32_t length);

}  // namespace orvia::dict
