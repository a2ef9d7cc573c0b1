// Property: the whole read path of a lookup, through the exports, over any index and data
// file: opening, searching, walking, list windows and content never read or write out of
// bounds (caller buffers included), never loop without end and never crash.
// Input: u8 steering, u16 index length n, n index bytes, then the data file's bytes from
// offset 0x10001 on (the bytes before it are zero in every file the compiler writes).
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "base/bytes.h"
#include "orviadic.h"
#include "support/temp_dir.h"
#include "support/test_registry.h"

namespace {

constexpr uint32_t kDictId = 0x00010101;
constexpr size_t kDataHead = 0x10001;
constexpr unsigned char kCanary = 0xA5;

const std::string& folder() {
  static const std::string dir = [] {
    std::string made = orvia::testing::makeTempDir("orvia-lookup-fuzz");
    orvia::testing::enterTestRegistry(made);
    orvia::testing::writeTestKey("\"PATH\"=\"" + made + "\"\r\n");
    dicSetRegKey(reinterpret_cast<void*>(uintptr_t(orvia::testing::testKeyRoot())),
                 orvia::testing::testKeyPath());
    return made;
  }();
  return dir;
}

// A caller's buffer of size bytes with canaries behind it, which no call may touch: checked
// when the buffer goes.
struct GuardedBuffer {
  explicit GuardedBuffer(uint32_t size) : size(size), bytes(size + 16, kCanary) {}
  char* data() { return size == 0 ? nullptr : reinterpret_cast<char*>(bytes.data()); }
  ~GuardedBuffer() {
    for (size_t i = size; i < bytes.size(); ++i)
      if (bytes[i] != kCanary) std::abort();
  }
  uint32_t size;
  std::vector<unsigned char> bytes;
};

void readContent(HWORD* word, uint32_t dictId, uint32_t capacityCut) {
  const uint32_t size = dicGetContentSize(word, dictId);
  // Damaged files may claim huge sizes; a caller would allocate them, the fuzzer need not.
  GuardedBuffer buffer(size > 1u << 20 ? 64 : size + 1 - (capacityCut & 1));
  dicGetContent(word, dictId, buffer.data(), buffer.size);
}

void walk(HDICT* dict, const uint8_t* data, uint8_t steer) {
  const char* words[] = {"bank", "zebra", "a", "zzzz", ""};
  std::string fromInput(reinterpret_cast<const char*>(data), std::min<size_t>(steer % 48, 300));
  fromInput.erase(std::find(fromInput.begin(), fromInput.end(), '\0'), fromInput.end());
  for (const std::string& word : {std::string(words[steer % 5]), fromInput}) {
    dicIsExistWord(dict, word.c_str());
    HWORD* found = dicSearchWord(dict, word.c_str());
    if (found == nullptr) continue;
    for (int step = 0; step < 4; ++step) {
      readContent(found, kDictId, steer);
      uint32_t info = 0;
      dicGetHandleInfo(found, 1 + step % 4, &info);
      if (steer & 1 ? dicNext(found, step) == 0 : dicPrev(found, step) == 0) break;
    }
    readContent(found, 0xFF010101, steer);
    dicFreeHWORD(found);
  }
  const uint32_t count = dicGetWordCount(dict);
  GuardedBuffer list(steer * 4u);
  uint32_t entries = 0, bytes = 0;
  const uint32_t start = count == 0 ? steer : steer % (count + 2);
  dicGetWordList(dict, start, steer % 9, list.data(), list.size, &entries);
  dicGetKeyVcodeList(dict, start, steer % 7, list.data(), list.size, &entries, &bytes);
  HWORD* record = dicSearchRecord(dict, start);
  if (record != nullptr) readContent(record, kDictId, steer >> 1);
  dicFreeHWORD(record);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 3) return 0;
  const uint8_t steer = data[0];
  const size_t indexLength = std::min<size_t>(orvia::loadU16Le(data + 1), size - 3);
  const std::string index(reinterpret_cast<const char*>(data + 3), indexLength);
  std::string dataFile(kDataHead, '\0');
  dataFile.append(reinterpret_cast<const char*>(data + 3 + indexLength), size - 3 - indexLength);
  if (!orvia::testing::writeFileBytes(folder() + "/00010101.IDX", index) ||
      !orvia::testing::writeFileBytes(folder() + "/00010101.DAT", dataFile))
    return 0;
  HDICT* dict = dicCreateHDICT(kDictId);
  if (dict == nullptr) return 0;
  walk(dict, data + 3, steer);
  dicFreeHDICT(dict);
  return 0;
}
