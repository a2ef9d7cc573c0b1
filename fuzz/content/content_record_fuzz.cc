// Property: reading the size and text of any record of any data file never reads or
// writes out of bounds, never loops without end, and never allocates without bound.
// Input: u16 capacity, u16 offset into the tail, u8 entry count, then the tail: the
// bytes from 0x10001 on (tree sizes, trees, records). Entry 0 names this file by its
// path and entry 1 by a dictionary id and name, so chains can cross files and loop.
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "base/bytes.h"
#include "content/content_record.h"
#include "support/temp_dir.h"

using namespace orvia::content;

static const std::string path = orvia::testing::makeTempDir("orvia-content-fuzz") + "/SELF.DAT";

static int sameFile(uint32_t, char* out, uint32_t size, const char*) {
  if (path.size() >= size) return 0;
  std::memcpy(out, path.c_str(), path.size() + 1);
  return 1;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 5) return 0;
  std::string image(0x10001, '\0');
  image[0] = char(data[4]);
  image.replace(1, path.size(), path);
  image.replace(1 + 256 + 1, 16, "\x03\x02\x01\x00SELF0000.DAT", 16);
  image.append(data + 5, data + size);
  if (!orvia::testing::writeFileBytes(path, image)) return 0;

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
