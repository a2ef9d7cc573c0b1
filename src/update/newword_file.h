// Opening and checking new-word files. A new-word file is only ever read here; every
// read gives its offset, so an open handle's position means nothing.
#pragma once

#include <cstdint>

#include "base/result.h"
#include "content/file_access.h"
#include "update/newword_format.h"

namespace orvia::update {

// The first rule a file breaks, in the order the rules are checked; kValid when none.
enum class NewWordCheck : uint8_t {
  kValid,
  kNoFile,              // the invalid handle
  kHeaderUnread,        // fewer than 40 bytes could be read
  kNotATarget,          // targetDictId has a zero byte, or kind 0x7F or 0xFF
  kVersionTooHigh,      // listVersion above 255
  kBadHeaderSize,       // headerSize is not 40
  kNoIndexImage,        // indexImageSize is 0
  kNoContentImage,      // contentImageSize is 0
  kImagesSizeMismatch,  // imagesSize is not the 32-bit sum of the two image sizes
  kFileSizeMismatch,    // the file is not exactly imagesSize + 40 bytes long
};

// A few words on a broken rule, for the tool.
const char* newWordCheckText(NewWordCheck check);

// The file at path open for reading when it passes every rule, else the invalid handle.
// Null and empty paths give the invalid handle. The caller closes it.
content::FileHandle openNewWordFile(const char* path);
// 1 when the 40 header bytes at offset 0 were read into *out.
uint32_t readNewWordHeader(content::FileHandle file, NewWordFileHeader* out);
// 0 for the invalid handle, else the result of closing it.
uint32_t closeNewWordFile(content::FileHandle file);
NewWordCheck checkNewWordFile(content::FileHandle file);

// The header of the valid new-word file at path: open, read, closed again.
// kReadFailed when the file is missing, unreadable or breaks a rule.
Status readNewWordFileHeader(const char* path, NewWordFileHeader* out);

}  // namespace orvia::update
