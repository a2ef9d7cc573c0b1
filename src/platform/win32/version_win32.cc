// The module's version resource through the system's version functions.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "platform/platform.h"

namespace orvia::platform {
namespace {

// One node of a version information block in the byte-string layout the version
// functions still read: u16 total length, u16 value length, the key and its terminator,
// padding to 4, the value, padding to 4, then the children.
struct VersionNode {
  std::string key;
  std::vector<uint8_t> value;
  std::vector<VersionNode> children;
};

void padToFour(std::vector<uint8_t>* out) {
  while (out->size() % 4 != 0) out->push_back(0);
}

void putU16At(std::vector<uint8_t>* out, size_t at, size_t v) {
  (*out)[at] = uint8_t(v & 0xFF);
  (*out)[at + 1] = uint8_t((v >> 8) & 0xFF);
}

// Nodes start on a 4-byte boundary of the block, which every node's length keeps.
void putNode(std::vector<uint8_t>* out, const VersionNode& node) {
  size_t start = out->size();
  out->resize(start + 4, 0);
  putU16At(out, start + 2, node.value.size());
  out->insert(out->end(), node.key.begin(), node.key.end());
  out->push_back(0);
  padToFour(out);
  out->insert(out->end(), node.value.begin(), node.value.end());
  for (const VersionNode& child : node.children) {
    padToFour(out);
    putNode(out, child);
  }
  putU16At(out, start, out->size() - start);
}

std::vector<uint8_t> littleEndian(const std::vector<uint32_t>& words) {
  std::vector<uint8_t> bytes;
  for (uint32_t w : words)
    for (int i = 0; i < 4; ++i) bytes.push_back(uint8_t(w >> (8 * i)));
  return bytes;
}

}  // namespace

std::vector<uint8_t> makeVersionBlock(const std::vector<uint32_t>& translations,
                                      const char* fileVersion) {
  // A fixed file information with its signature and structure version, numbers zero.
  VersionNode root{"VS_VERSION_INFO", littleEndian({0xFEEF04BDu, 0x00010000u}), {}};
  root.value.resize(52, 0);
  VersionNode strings{"StringFileInfo", {}, {}};
  const std::vector<uint8_t> version(fileVersion, fileVersion + std::strlen(fileVersion) + 1);
  for (uint32_t t : translations) {
    char name[9];
    std::snprintf(name, sizeof name, "%04X%04X", t & 0xFFFF, t >> 16);
    strings.children.push_back(VersionNode{name, {}, {VersionNode{"FileVersion", version, {}}}});
  }
  root.children.push_back(strings);
  root.children.push_back(
      VersionNode{"VarFileInfo", {}, {VersionNode{"Translation", littleEndian(translations), {}}}});
  std::vector<uint8_t> block;
  putNode(&block, root);
  return block;
}

uint32_t moduleFileName(ModuleHandle module, char* buffer, uint32_t size) {
  if (buffer == nullptr || size == 0) return 0;
  DWORD length = GetModuleFileNameA(static_cast<HMODULE>(module), buffer, size);
  // A name that filled the buffer was cut short.
  return length < size ? length : 0;
}

uint32_t versionInfoSize(const char* fileName) {
  DWORD ignored = 0;
  return fileName == nullptr ? 0 : GetFileVersionInfoSizeA(fileName, &ignored);
}

bool versionInfo(const char* fileName, uint32_t size, void* block) {
  return fileName != nullptr && block != nullptr &&
         GetFileVersionInfoA(fileName, 0, size, block) != 0;
}

bool versionQuery(const void* block, const char* subBlock, const void** value, uint32_t* length) {
  if (block == nullptr || subBlock == nullptr || value == nullptr || length == nullptr)
    return false;
  void* found = nullptr;
  UINT foundLength = 0;
  if (!VerQueryValueA(block, subBlock, &found, &foundLength)) return false;
  *value = found;
  *length = foundLength;
  return true;
}

}  // namespace orvia::platform
