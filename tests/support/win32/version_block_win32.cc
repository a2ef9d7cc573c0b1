#include <cstdio>
#include <cstring>
#include <string>

#include "base/bytes.h"
#include "support/version_block.h"

namespace orvia::testing {
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

// Nodes start on a 4-byte boundary of the block, which every node's length keeps.
void putNode(std::vector<uint8_t>* out, const VersionNode& node) {
  size_t start = out->size();
  out->resize(start + 4, 0);
  storeU16Le(out->data() + start + 2, uint16_t(node.value.size()));
  out->insert(out->end(), node.key.begin(), node.key.end());
  out->push_back(0);
  padToFour(out);
  out->insert(out->end(), node.value.begin(), node.value.end());
  for (const VersionNode& child : node.children) {
    padToFour(out);
    putNode(out, child);
  }
  storeU16Le(out->data() + start, uint16_t(out->size() - start));
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

}  // namespace orvia::testing
