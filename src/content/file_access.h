// The file access layer every file-handling operation of the library goes through:
// 32-bit offsets from the start of the file, results in bytes with 0 for failure.
// Callers treat a count below the one asked for as failure. These are the library's
// names for the operations of platform::File; files are opened with read and write
// sharing. A handle is used by one thread at a time.
#pragma once

#include <cstdint>

#include "platform/file.h"

namespace orvia::content {

// An open file, owned by whoever opened it until closeFile.
using FileHandle = platform::File*;
inline constexpr FileHandle kInvalidFile = nullptr;

// The invalid handle for a null path, a missing file or any other failure.
FileHandle openFileRead(const char* path);
FileHandle openFileReadWrite(const char* path);
// Creates the file, or empties an existing one.
FileHandle createFileReadWrite(const char* path);
// 1, or 0 for the invalid handle (which is not closed).
uint32_t closeFile(FileHandle file);

// Read or write count bytes at offset. A write that would pass 4 GiB gives 0.
uint32_t readFileAt(FileHandle file, uint32_t offset, uint32_t count, void* buffer);
uint32_t writeFileAt(FileHandle file, uint32_t offset, uint32_t count, const void* buffer);
// Ends the file at offset: 1, or 0.
uint32_t truncateFileAt(FileHandle file, uint32_t offset);
// The file's size; 0 also on failure.
uint32_t currentFileSize(FileHandle file);

// Whole reads and writes of one u32, for the many link and header fields.
bool readU32At(FileHandle file, uint32_t offset, uint32_t* value);
bool writeU32At(FileHandle file, uint32_t offset, uint32_t value);

}  // namespace orvia::content
