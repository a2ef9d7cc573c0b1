// The configuration store: module-wide state, registry reads and writes under the
// configured key, and the resolution of a dictionary file's full path.
#pragma once

#include <cstdint>

#include "platform/platform.h"

namespace orvia::dict {

inline constexpr uint32_t kMaxPath = 260;
inline constexpr char kDefaultRegistryPath[] = "SOFTWARE\\Caldmore\\Orvia\\Tolvane\\Dict";

// Module state: set at load, changed only by setRegistryKey.
struct ModuleState {
  platform::ModuleHandle moduleHandle = nullptr;
  platform::RegRoot registryRoot = platform::kHkeyLocalMachine;
  char* registryPath = nullptr;  // process-heap copy, owned
  uint32_t serverDataMode = 0;
  bool loaded = false;
};
ModuleState& moduleState();

// Load and unload steps; moduleLoad fails when the path copy cannot be made.
bool moduleLoad(platform::ModuleHandle module);
void moduleUnload();
// dicSetRegKey: 1, or 0 when the new path cannot be copied (nothing changes then).
int setRegistryKey(uint32_t root, const char* path);

// 1 when the value was read into buffer (its first byte cleared on every failure); the
// stored type is not compared with type. REQUIRES: name != nullptr, size > 0 and buffer
// writable for size bytes (the exports that take a caller's buffer probe it).
int regReadValue(void* buffer, uint32_t size, const char* name, uint32_t type);
// REQUIRES: name != nullptr, data readable for size bytes.
int regWriteValue(const void* data, uint32_t size, const char* name, uint32_t type);
int readTypeValue(uint32_t* out);

// 1 when the name has 12 characters ending in ".dat", in any case.
int isContentFileName(const char* fileName);
// 1 with the full path of fileName for dictionary id in out (callers pass 260 bytes).
int resolveDictFilePath(uint32_t id, char* out, uint32_t outSize, const char* fileName);
// The same from the "ServerDataPath" values only; fails when serverDataMode is 0.
int resolveSharedDataPath(uint32_t id, char* out, uint32_t outSize, const char* fileName);

// The new-word version and time values of id. REQUIRES: out (4 or 16 bytes) writable,
// time (16 bytes) readable; readNewWordVersion sets *out to 0xFFFFFFFF first.
int readNewWordVersion(uint32_t id, uint32_t* out);
int writeNewWordVersion(uint32_t id, uint32_t version);
int readNewWordTime(uint32_t id, uint8_t* out);
int writeNewWordTime(uint32_t id, const uint8_t* time);

}  // namespace orvia::dict
