// Property: each function of libOrviaText, given any bytes for any dictionary id, either
// fails or returns the length its measuring call gave, and writes nothing past the size
// it is given: the bytes behind that size keep a guard pattern. A buffer one byte short
// of the text fails with only its first byte cleared.
// Input: u8 language code (mod 11), u8 size of the buffer, then the text (to its first
// zero byte).
#include <cstdint>
#include <cstring>
#include <string>

#include "orviatext.h"

namespace {

constexpr uint8_t kGuard = 0xA5;

void check(int32_t (*convert)(uint32_t, const char*, char*, uint32_t), uint32_t dictId,
           const char* text, uint32_t size) {
  const int32_t needed = convert(dictId, text, nullptr, 0);
  if (needed < -1) __builtin_trap();
  static char buffer[4096 + 64];
  std::memset(buffer, kGuard, sizeof buffer);
  const int32_t written = convert(dictId, text, buffer, size);
  if (written != -1 &&
      (written != needed || uint32_t(written) >= size || std::strlen(buffer) != size_t(written)))
    __builtin_trap();
  for (size_t i = size; i < sizeof buffer; ++i)
    if (uint8_t(buffer[i]) != kGuard) __builtin_trap();
  if (written == -1 && size > 0 && buffer[0] != '\0') __builtin_trap();
  if (needed < 0 || uint32_t(needed) + 1 > sizeof buffer - 64) return;
  std::memset(buffer, kGuard, sizeof buffer);
  if (convert(dictId, text, buffer, uint32_t(needed)) != -1) __builtin_trap();
  if (needed > 0 && buffer[0] != '\0') __builtin_trap();
  for (size_t i = 1; i < sizeof buffer; ++i)
    if (uint8_t(buffer[i]) != kGuard) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2 || size > 4000) return 0;
  const uint32_t language = data[0] % 11u;
  const std::string text(reinterpret_cast<const char*>(data + 2), size - 2);
  for (auto convert : {otxToCodePage, otxToUtf8, otxSearchWord, otxEntryToUtf8})
    check(convert, language == 0 ? 0 : 0x00010100 | language, text.c_str(), data[1] * 16u);
  return 0;
}
