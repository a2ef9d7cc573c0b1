// The file access layer every file-handling operation goes through: 32-bit offsets from
// the start of the file, results in bytes with 0 for failure. Callers treat a count
// below the one asked for as failure. Files are opened with read and write sharing.
// A handle may be used by one thread at a time (it carries a current position).
#pragma once

#include <cstdint>

namespace orvia::content {

// A distinct handle type, so that calls of these functions never meet the platform's
// same-named ones through argument-dependent lookup.
using FileHandle = struct ContentFile*;
inline constexpr FileHandle kInvalidFile = nullptr;

// The invalid handle for a null path or on failure.
FileHandle openFileRead(const char* path);
FileHandle openFileReadWrite(const char* path);
// Creates the file, or empties an existing one.
FileHandle createFileReadWrite(const char* path);
// 1, or 0 for the invalid handle (which is not closed).
uint32_t closeFile(FileHandle file);

uint32_t readFileNext(FileHandle file, uint32_t count, void* buffer);
uint32_t writeFileNext(FileHandle file, uint32_t count, const void* buffer);
// Seek from the start, then read or write; 0 when the seek fails.
uint32_t readFileAt(FileHandle file, uint32_t offset, uint32_t count, void* buffer);
uint32_t writeFileAt(FileHandle file, uint32_t offset, uint32_t count, const void* buffer);
// Seek, then end the file there: 1, or 0.
uint32_t truncateFileAt(FileHandle file, uint32_t offset);
// The file's size; 0 also on failure.
uint32_t currentFileSize(FileHandle file);

// Whole reads and writes of one u32, for the many link and header fields.
bool readU32At(FileHandle file, uint32_t offset, uint32_t* value);
bool writeU32At(FileHandle file, uint32_t offset, uint32_t value);

}  // namespace orvia::content
