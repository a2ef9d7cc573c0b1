#include "dict/config.h"

#include <cstring>

#include "dict/dict_id.h"
#include "platform/file.h"

namespace orvia::dict {
namespace {

using platform::RegAccess;

bool isBlank(char c) {
  return c == ' ' || (c >= 9 && c <= 13);
}

// {id}, {base} or nothing, followed by a suffix: a registry value name.
struct ValueName {
  char text[32];
};

ValueName nameFor(const char* digits, const char* suffix) {
  ValueName name{};
  std::strcpy(name.text, digits);
  std::strcat(name.text, suffix);
  return name;
}

// The three names tried in order for a directory: the dictionary's own, its base's, and
// the last resort.
void directoryNames(uint32_t id, bool serverData, ValueName names[3]) {
  char idDigits[9], baseDigits[9];
  formatDictIdHex(id, idDigits);
  formatDictIdHex(isValidDictId(id) ? baseOf(id) : 0, baseDigits);
  const char* suffix = serverData ? "ServerDataPath" : "Path";
  names[0] = nameFor(idDigits, suffix);
  names[1] = nameFor(baseDigits, suffix);
  names[2] = nameFor("", serverData ? "ServerDataPath" : "PATH");
}

// regReadValue, with the number of bytes the value holds in *got.
bool readValueBytes(void* buffer, uint32_t size, const char* name, uint32_t* got) {
  char* bytes = static_cast<char*>(buffer);
  bytes[0] = '\0';
  const ModuleState& state = moduleState();
  if (state.registryPath == nullptr) return false;
  platform::RegKey key =
      platform::regOpenKey(state.registryRoot, state.registryPath, RegAccess::kRead);
  if (key == nullptr) return false;
  uint32_t stored = 0;
  bool read = false;
  if (platform::regQueryValue(key, name, nullptr, nullptr, &stored) && stored <= size) {
    *got = size;
    read = platform::regQueryValue(key, name, nullptr, buffer, got);
    if (!read) bytes[0] = '\0';
  }
  platform::regCloseKey(key);
  return read;
}

bool readDirectory(const ValueName names[3], char* out, uint32_t outSize) {
  for (int i = 0; i < 3; ++i) {
    uint32_t got = 0;
    if (!readValueBytes(out, outSize, names[i].text, &got)) continue;
    // A value stored without a terminator (written as binary, say) ends at its stored
    // size, not at whatever zero an earlier try left in the buffer; one that fills the
    // buffer leaves no room for the terminator and is no directory.
    if (got < outSize) out[got] = '\0';
    if (std::memchr(out, '\0', outSize) != nullptr) return true;
    out[0] = '\0';
  }
  return false;
}

// Ends the directory in out with exactly one separator and appends fileName.
int finishPath(char* out, uint32_t outSize, const char* fileName) {
  size_t length = std::strlen(out);
  if (length == 0) return 0;
  size_t last = length - 1;
  while (last > 0 && isBlank(out[last])) --last;
  if (isBlank(out[last])) return 0;
  size_t dirLength;
  if (out[last] == '\\' || out[last] == '/') {
    if (last <= 1) return 0;
    dirLength = last + 1;
  } else {
    dirLength = last + 2;
  }
  size_t nameLength = std::strlen(fileName);
  if (dirLength + nameLength >= outSize) {
    out[0] = '\0';
    return 0;
  }
  out[dirLength - 1] = platform::kDirectorySeparator;
  std::memcpy(out + dirLength, fileName, nameLength + 1);
  return 1;
}

bool isKindedValidId(uint32_t id) {
  return companionKindOf(id) != 0 && isValidDictId(id);
}

ValueName perDictionaryName(uint32_t id, const char* suffix) {
  char digits[9];
  formatDictIdHex(id, digits);
  return nameFor(digits, suffix);
}

}  // namespace

ModuleState& moduleState() {
  static ModuleState state;
  return state;
}

bool moduleLoad(platform::ModuleHandle module) {
  ModuleState& state = moduleState();
  state.moduleHandle = module;
  state.registryRoot = platform::kHkeyLocalMachine;
  platform::HeapHandle heap = platform::processHeap();
  char* copy = static_cast<char*>(platform::heapAlloc(heap, sizeof kDefaultRegistryPath));
  if (copy == nullptr) return false;
  std::memcpy(copy, kDefaultRegistryPath, sizeof kDefaultRegistryPath);
  state.registryPath = copy;
  if (readTypeValue(&state.serverDataMode) == 0) state.serverDataMode = 0;
  state.loaded = true;
  return true;
}

void moduleUnload() {
  ModuleState& state = moduleState();
  if (state.registryPath != nullptr)
    platform::heapFree(platform::processHeap(), state.registryPath);
  state.registryPath = nullptr;
  state.loaded = false;
}

int setRegistryKey(uint32_t root, const char* path) {
  ModuleState& state = moduleState();
  if (state.registryPath == nullptr || std::strcmp(path, state.registryPath) != 0) {
    size_t size = std::strlen(path) + 1;
    platform::HeapHandle heap = platform::processHeap();
    char* copy = static_cast<char*>(platform::heapAlloc(heap, size));
    if (copy == nullptr) return 0;
    std::memcpy(copy, path, size);
    if (state.registryPath != nullptr) platform::heapFree(heap, state.registryPath);
    state.registryPath = copy;
  }
  state.registryRoot = root;
  if (readTypeValue(&state.serverDataMode) == 0) state.serverDataMode = 0;
  return 1;
}

int regReadValue(void* buffer, uint32_t size, const char* name, uint32_t) {
  uint32_t got = 0;
  return readValueBytes(buffer, size, name, &got);
}

int regWriteValue(const void* data, uint32_t size, const char* name, uint32_t type) {
  const ModuleState& state = moduleState();
  if (state.registryPath == nullptr) return 0;
  platform::RegKey key =
      platform::regOpenKey(state.registryRoot, state.registryPath, RegAccess::kWrite);
  if (key == nullptr) return 0;
  int result = platform::regSetValue(key, name, type, data, size) ? 1 : 0;
  platform::regCloseKey(key);
  return result;
}

int readTypeValue(uint32_t* out) {
  return regReadValue(out, 4, "Type", platform::kRegDword);
}

int isContentFileName(const char* fileName) {
  if (fileName == nullptr || std::strlen(fileName) != 12) return 0;
  const char* ext = fileName + 8;
  auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? char(c + 32) : c; };
  return ext[0] == '.' && lower(ext[1]) == 'd' && lower(ext[2]) == 'a' && lower(ext[3]) == 't';
}

int resolveDictFilePath(uint32_t id, char* out, uint32_t outSize, const char* fileName) {
  if (out == nullptr || fileName == nullptr) return 0;
  bool serverData =
      moduleState().serverDataMode != 0 && isContentFileName(fileName) != 0 && !isCompanion(id);
  ValueName names[3];
  directoryNames(id, serverData, names);
  if (!readDirectory(names, out, outSize)) return 0;
  return finishPath(out, outSize, fileName);
}

int resolveSharedDataPath(uint32_t id, char* out, uint32_t outSize, const char* fileName) {
  if (moduleState().serverDataMode == 0 || out == nullptr || fileName == nullptr) return 0;
  ValueName names[3];
  directoryNames(id, true, names);
  if (!readDirectory(names, out, outSize)) return 0;
  return finishPath(out, outSize, fileName);
}

int readNewWordVersion(uint32_t id, uint32_t* out) {
  *out = 0xFFFFFFFFu;
  if (!isKindedValidId(id)) return 0;
  return regReadValue(out, 4, perDictionaryName(id, "version").text, platform::kRegDword);
}

int writeNewWordVersion(uint32_t id, uint32_t version) {
  if (!isKindedValidId(id) || version > 255) return 0;
  uint8_t bytes[4] = {uint8_t(version), 0, 0, 0};
  return regWriteValue(bytes, 4, perDictionaryName(id, "version").text, platform::kRegDword);
}

int readNewWordTime(uint32_t id, uint8_t* out) {
  if (!isKindedValidId(id)) return 0;
  return regReadValue(out, 16, perDictionaryName(id, "time").text, platform::kRegBinary);
}

int writeNewWordTime(uint32_t id, const uint8_t* time) {
  if (!isKindedValidId(id)) return 0;
  return regWriteValue(time, 16, perDictionaryName(id, "time").text, platform::kRegBinary);
}

}  // namespace orvia::dict
