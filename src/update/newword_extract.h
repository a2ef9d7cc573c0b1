// Unpacks a new-word file into the new-word companion of its target: the index image
// becomes 80xxxxxx.IDX and the content image 80xxxxxx.DAT, in the folder the registry
// gives the companion. Both files are created or cut to the images' lengths, and stay.
#pragma once

#include "base/result.h"
#include "content/file_access.h"

namespace orvia::update {

// REQUIRES: file is open and passed checkNewWordFile. A failure after the index was
// written leaves it written: nothing is rolled back.
Status extractNewWordFile(content::FileHandle file);

}  // namespace orvia::update
