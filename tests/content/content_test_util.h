// Helpers for the content tests: scratch folders, files from bytes, and builders that
// lay bytes out straight from the format tables (never through the library's writers).
#pragma once

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "base/bytes.h"
#include "support/temp_dir.h"

namespace orvia::content::test {

using Bytes = std::vector<uint8_t>;

inline Bytes bytesOf(const std::string& s) {
  return Bytes(s.begin(), s.end());
}
inline std::string textOf(const Bytes& b) {
  return std::string(b.begin(), b.end());
}

inline void putU32(Bytes* b, uint32_t v) {
  for (int i = 0; i < 4; ++i) b->push_back(uint8_t(v >> (8 * i)));
}
inline uint32_t u32At(const Bytes& b, size_t at) {
  return loadU32Le(b.data() + at);
}
inline void putU16(Bytes* b, uint16_t v) {
  b->push_back(uint8_t(v));
  b->push_back(uint8_t(v >> 8));
}

// Tree 0, a complete tree of depth 3 laid out in pre-order (1 bit: next entry, 0 bit:
// the entry named): a 111, b 110, ~ 101, ! 100, CR 011, LF 010, switch 001, x 000.
inline const std::vector<uint16_t> kTree0{8,  5,  4,     0x261, 0x262, 7,     0x27E, 0x221,
                                          12, 11, 0x20D, 0x20A, 14,    0x2FF, 0x278};
// Tree 1: B0 1, switch back 0. Tree 2: A1 1, A2 0.
inline const std::vector<uint16_t> kTree1{2, 0x2B0, 0x2FF};
inline const std::vector<uint16_t> kTree2{2, 0x2A1, 0x2A2};

inline Bytes treeBytes(const std::vector<uint16_t>& entries) {
  Bytes b;
  for (uint16_t e : entries) putU16(&b, e);
  return b;
}

// A scratch folder removed with everything in it.
using orvia::testing::TempDir;

inline void writeBytes(const std::string& path, const Bytes& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

inline Bytes readBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// A content record: header (type, length), continuation reference, body.
inline Bytes record(uint8_t type, uint32_t reference, const Bytes& body) {
  Bytes r;
  putU32(&r, (uint32_t(type) << 24) | uint32_t(8 + body.size()));
  putU32(&r, reference);
  r.insert(r.end(), body.begin(), body.end());
  return r;
}

// Packs LZW codes as the format lays them out: 32-bit little-endian words filled from
// the most significant bit. Each code is given with its width.
class CodePacker {
 public:
  CodePacker& add(uint32_t code, uint32_t width) {
    for (uint32_t i = width; i-- > 0;) bits_.push_back((code >> i) & 1);
    return *this;
  }
  Bytes bytes() const {
    Bytes out;
    for (size_t w = 0; w * 32 < bits_.size(); ++w) {
      uint32_t word = 0;
      for (size_t i = 0; i < 32; ++i) {
        size_t at = w * 32 + i;
        word = (word << 1) | (at < bits_.size() ? bits_[at] : 0);
      }
      putU32(&out, word);
    }
    return out;
  }

 private:
  std::vector<uint8_t> bits_;
};

// A data file laid out by hand: entry count and table, tree sizes, trees, records.
class DataFileBuilder {
 public:
  DataFileBuilder() : bytes_(0x10007, 0) {}

  void setTrees(const std::vector<uint16_t>& t0, const std::vector<uint16_t>& t1,
                const std::vector<uint16_t>& t2) {
    bytes_.resize(0x10001);
    Bytes trees;
    for (const auto* t : {&t0, &t1, &t2}) {
      putU16(&bytes_, uint16_t(t->size() * 2));
      for (uint16_t e : *t) putU16(&trees, e);
    }
    bytes_.insert(bytes_.end(), trees.begin(), trees.end());
  }
  // Entry k as a full path, or as a dictionary id and file name.
  void setPathEntry(uint32_t k, const std::string& path) {
    std::copy(path.begin(), path.end(), bytes_.begin() + 1 + k * 256);
  }
  void setIdEntry(uint32_t k, uint32_t dictId, const std::string& name) {
    for (int i = 0; i < 4; ++i) bytes_[1 + k * 256 + 1 + i] = uint8_t(dictId >> (8 * i));
    std::copy(name.begin(), name.end(), bytes_.begin() + 1 + k * 256 + 5);
  }
  void setEntryCount(uint8_t n) { bytes_[0] = n; }
  uint32_t add(const Bytes& r) {
    uint32_t at = uint32_t(bytes_.size());
    bytes_.insert(bytes_.end(), r.begin(), r.end());
    return at;
  }
  // The offset the next record will get.
  uint32_t end() const { return uint32_t(bytes_.size()); }
  Bytes& bytes() { return bytes_; }
  void write(const std::string& path) const { writeBytes(path, bytes_); }

 private:
  Bytes bytes_;
};

}  // namespace orvia::content::test
