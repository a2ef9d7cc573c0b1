// Everything the library needs from the operating system besides files (file.h), in the
// shape the library uses it: the process heap and private heaps, the writers' named
// mutex, the registry, the module's version information, progress messages to a window,
// and pointer probes. One backend per system (posix/, win32/); nothing above this folder
// includes an OS header.
//
// Every function reports failure by its result (false, 0 or a null handle) and never
// throws. All functions may be called from any thread unless noted.
#pragma once

#include <cstddef>
#include <cstdint>

namespace orvia::platform {

// ---- Heaps ---------------------------------------------------------------------------
using HeapHandle = struct PlatformHeap*;

// The process heap; null only when it cannot be had.
HeapHandle processHeap();
// A private heap; destroyed with everything still allocated in it.
HeapHandle createHeap(size_t initialSize);
bool destroyHeap(HeapHandle heap);
// Zero-filled blocks; null on failure.
void* heapAlloc(HeapHandle heap, size_t size);
void* heapReAlloc(HeapHandle heap, void* block, size_t size);
bool heapFree(HeapHandle heap, void* block);

// ---- Named mutex ---------------------------------------------------------------------
using MutexHandle = struct PlatformMutex*;

// Opens the named mutex, creating it when no process has it; null on failure.
MutexHandle openOrCreateMutex(const char* name);
// Waits without time-out.
void waitMutex(MutexHandle mutex);
void releaseMutex(MutexHandle mutex);
void closeMutex(MutexHandle mutex);

// ---- Registry ------------------------------------------------------------------------
using RegRoot = uint32_t;  // the low 32 bits of a root key handle
inline constexpr RegRoot kHkeyCurrentUser = 0x80000001u;
inline constexpr RegRoot kHkeyLocalMachine = 0x80000002u;
inline constexpr uint32_t kRegSz = 1, kRegBinary = 3, kRegDword = 4;

using RegKey = struct PlatformRegKey*;
enum class RegAccess { kRead, kWrite };

// Opens an existing key; never creates one.
RegKey regOpenKey(RegRoot root, const char* path, RegAccess access);
void regCloseKey(RegKey key);
// With data null, only *size is set to the stored size. With data, copies the stored
// bytes when they fit in *size (else false) and sets *size to the stored size.
bool regQueryValue(RegKey key, const char* name, uint32_t* type, void* data, uint32_t* size);
bool regSetValue(RegKey key, const char* name, uint32_t type, const void* data, uint32_t size);
// The index-th value of the key (0 first) with its name; false past the last one.
bool regEnumValue(RegKey key, uint32_t index, char* name, uint32_t nameSize, uint32_t* type,
                  void* data, uint32_t* size);
// Keys are created only by installers: see platform/registry_setup.h.

// ---- Module --------------------------------------------------------------------------
using ModuleHandle = void*;

// The file name of the library's module, terminated; length without the terminator,
// 0 on failure.
uint32_t moduleFileName(ModuleHandle module, char* buffer, uint32_t size);
// The size of the module file's version information; 0 when it has none.
uint32_t versionInfoSize(const char* fileName);
bool versionInfo(const char* fileName, uint32_t size, void* block);
// Looks a sub-block up by name ("\VarFileInfo\Translation", "\StringFileInfo\...\Name");
// *value points into block, *length is in bytes for binary values and in characters,
// terminator included, for strings.
bool versionQuery(const void* block, const char* subBlock, const void** value, uint32_t* length);

// ---- Progress ------------------------------------------------------------------------
// Sends a message to a window and waits for it to be handled: the window's answer, 0
// when there is no such window.
intptr_t sendMessage(uint32_t window, uint32_t message, uintptr_t wparam, intptr_t lparam);
// Where POSIX programs receive what is sent to a window value: there are no windows, so a
// program registers a function per window value, and sendMessage calls it on the
// sender's thread. A null sink removes the window's. On Windows messages go to real
// windows and this does nothing (false). Safe to call from any thread.
using MessageSink = intptr_t (*)(uint32_t window, uint32_t message, uintptr_t wparam,
                                 intptr_t lparam);
bool registerMessageSink(uint32_t window, MessageSink sink);

// ---- Pointer probes ------------------------------------------------------------------
// False for null, and for any byte of [p, p + n) that cannot be read or written.
bool isReadable(const void* p, size_t n);
bool isWritable(void* p, size_t n);
// Where probing needs a process-wide fault handler, installs it in front of the one in
// place now, which keeps every fault outside a probe. The first probe does it too.
void installProbeFaultHandlers();

}  // namespace orvia::platform
