// The library's files are plain Win32 file handles: the handle is the FileHandle.
#include <windows.h>

#include "platform/platform.h"

namespace orvia::platform {
namespace {

HANDLE handleOf(FileHandle file) {
  return reinterpret_cast<HANDLE>(file);
}

}  // namespace

const char kDirectorySeparator = '\\';

FileHandle openFile(const char* path, FileAccess access) {
  if (path == nullptr) return nullptr;
  DWORD rights = access == FileAccess::kReadExisting ? GENERIC_READ : GENERIC_READ | GENERIC_WRITE;
  DWORD disposition = access == FileAccess::kCreateAlways ? CREATE_ALWAYS : OPEN_EXISTING;
  HANDLE handle = CreateFileA(path, rights, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
  return handle == INVALID_HANDLE_VALUE ? nullptr : reinterpret_cast<FileHandle>(handle);
}

bool closeFile(FileHandle file) {
  return file != nullptr && CloseHandle(handleOf(file)) != 0;
}

bool seekFile(FileHandle file, uint32_t offset) {
  if (file == nullptr) return false;
  // A zero high part makes the low part unsigned, so offsets reach 4 GiB.
  LONG high = 0;
  SetLastError(NO_ERROR);
  DWORD low = SetFilePointer(handleOf(file), LONG(offset), &high, FILE_BEGIN);
  return low != INVALID_SET_FILE_POINTER || GetLastError() == NO_ERROR;
}

bool readFile(FileHandle file, void* buffer, uint32_t count, uint32_t* done) {
  DWORD read = 0;
  if (file == nullptr || !ReadFile(handleOf(file), buffer, count, &read, nullptr)) return false;
  *done = read;
  return true;
}

bool writeFile(FileHandle file, const void* buffer, uint32_t count, uint32_t* done) {
  DWORD written = 0;
  if (file == nullptr || !WriteFile(handleOf(file), buffer, count, &written, nullptr)) return false;
  *done = written;
  return true;
}

bool setEndOfFile(FileHandle file) {
  return file != nullptr && SetEndOfFile(handleOf(file)) != 0;
}

bool fileSize(FileHandle file, uint32_t* size) {
  if (file == nullptr) return false;
  SetLastError(NO_ERROR);
  DWORD low = GetFileSize(handleOf(file), nullptr);
  if (low == INVALID_FILE_SIZE && GetLastError() != NO_ERROR) return false;
  *size = low;
  return true;
}

bool findFile(const char* path) {
  if (path == nullptr) return false;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA(path, &found);
  if (search == INVALID_HANDLE_VALUE) return false;
  FindClose(search);
  return true;
}

}  // namespace orvia::platform
