// Property: the user-entry operations on any file never read or write out of bounds and
// never follow a chain without end; an entry appended to a file without free blocks
// reads back.
// Input: u8 operation, u32 head, u16 length, then the file image.
#include <cstdint>
#include <string>
#include <vector>

#include "base/bytes.h"
#include "content/user_entry_file.h"
#include "support/temp_dir.h"

using namespace orvia::content;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string path = orvia::testing::makeTempDir("orvia-user-fuzz") + "/USER.DAT";
  if (size < 7 || !orvia::testing::writeFileBytes(path, std::string(data + 7, data + size)))
    return 0;
  const uint32_t head = orvia::loadU32Le(data + 1);
  const uint32_t length = 1 + orvia::loadU16Le(data + 5) % 2000;
  FileHandle file = openFileReadWrite(path.c_str());
  std::vector<char> out(length + 1);
  // Into the last length bytes of out, so that a write past them is caught.
  readUserEntryContent(file, head, out.data() + 1, length);
  userEntryContentLength(file, head);
  const std::string content(length, char('a' + data[0] % 26));
  const bool noFreeBlocks = size >= 11 && orvia::loadU32Le(data + 7) == 0;
  if (data[0] % 3 == 1) rewriteUserEntry(file, head, content.data(), length);
  if (data[0] % 3 == 2) freeUserEntry(file, head);
  const uint32_t written =
      data[0] % 3 == 0 ? appendUserEntry(file, "key", content.data(), length) : 0;
  if (noFreeBlocks && written != 0 &&
      (readUserEntryContent(file, written, out.data(), length + 1) != length ||
       std::string(out.data(), length) != content))
    __builtin_trap();
  closeFile(file);
  return 0;
}
