// Entries of a user-entry file: a head block with the key, a chain of content blocks.
// The caller opens the file (openFileReadWrite; readers may use openFileRead); these
// operations never create it. Every call fails (0) as soon as a read or write moves
// fewer bytes than asked, or a chain leaves the file or comes back on itself; blocks
// already written then stay written. No locking inside.
#pragma once

#include <cstdint>

#include "content/file_access.h"

namespace orvia::content {

// The content length stored in the entry's head; 0 if it cannot be read, or when the
// file has too few blocks to hold that much (a damaged head).
uint32_t userEntryContentLength(FileHandle file, uint32_t head);
// Writes the content and a NUL; returns its length, or 0 when capacity leaves no room
// for the NUL.
uint32_t readUserEntryContent(FileHandle file, uint32_t head, char* buffer, uint32_t capacity);
// Writes a new entry (only the first 244 key bytes are kept) into free blocks first,
// then at the end of the file; returns its head offset. Empty keys and content fail.
uint32_t appendUserEntry(FileHandle file, const char* key, const char* content,
                         uint32_t contentLength);
// Replaces an entry's content, keeping its head and key: its own blocks first, then free
// blocks, then new ones at the end; blocks no longer needed join the free list. 1 or 0.
uint32_t rewriteUserEntry(FileHandle file, uint32_t head, const char* content,
                          uint32_t contentLength);
// Hangs the entry's head and content blocks on the end of the free list. 1 or 0.
uint32_t freeUserEntry(FileHandle file, uint32_t head);

}  // namespace orvia::content
