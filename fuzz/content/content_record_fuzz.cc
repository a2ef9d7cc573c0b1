// Property: reading the size and text of any record of any data file never reads or
// writes out of bounds, never loops without end, and never allocates without bound.
// Input: u16 capacity, u16 offset into the tail, u8 entry count, then the tail: the
// bytes from 0x10001 on (tree sizes, trees, records). Entry 0 names this file by its
// path and entry 1 by a dictionary id and name, so chains can cross files and loop.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "base/bytes.h"
#include "content/content_record.h"

using namespace orvia::content;

static const std::string path = "/tmp/orvia-content-fuzz-" + std::to_string(getpid()) + ".dat";

static int sameFile(uint32_t, char* out, uint32_t size, const char*) {
  if (path.size() >= size) return 0;
  std::memcpy(out, path.c_str(), path.size() + 1);
  return 1;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 5) return 0;
  std::vector<uint8_t> image(0x10001, 0);
  image[0] = data[4];
  std::memcpy(&image[1], path.c_str(), path.size());
  std::memcpy(&image[1 + 256 + 1], "\x03\x02\x01\x00SELF0000.DAT", 16);
  image.insert(image.end(), data + 5, data + size);
  FILE* f = std::fopen(path.c_str(), "wb");
  if (f == nullptr) return 0;
  std::fwrite(image.data(), 1, image.size(), f);
  std::fclose(f);

  FileHandle file = openFileRead(path.c_str());
  const uint32_t offset = 0x10001 + (size > 5 ? orvia::loadU16Le(data + 2) % (size - 5) : 0);
  std::vector<char> out(1 + orvia::loadU16Le(data));
  // No agreement between the two is asserted: a damaged type-64 record states a size
  // that its codes need not decode to.
  uint32_t length = 0;
  contentTextAt(file, offset, out.data(), uint32_t(out.size()), &sameFile, &length);
  contentSizeAt(file, offset, &sameFile, &length);
  closeFile(file);
  return 0;
}
