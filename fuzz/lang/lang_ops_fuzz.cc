// Property: the seven operations of every language code never read past a terminator
// (every string ends right before a page that may not be touched), never write past the
// key buffer callers give, and answer within their contracts: a key of at most 245 bytes,
// an offset inside the key, and a comparison whose sign turns with its arguments.
// Input: u8 code (mod 11, so that 10 stands for the codes past the table), u8 count,
// then two strings split at the first zero byte.
#include <cstdint>
#include <cstring>
#include <string>
#include <utility>

#include "lang/lang_ops.h"
#include "lang/text_at_page_end.h"

using namespace orvia::lang;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static orvia::testing::TextAtPageEnd textA, textB, keyA, keyB;
  if (size < 2 || size > 2000) return 0;
  const LanguageOps& ops = languageOps(data[0] % 11u);
  const std::string rest(reinterpret_cast<const char*>(data + 2), size - 2);
  const size_t split = rest.find('\0');
  const char* a = textA.place(rest.substr(0, split));
  const char* b = textB.place(split == std::string::npos ? "" : rest.substr(split + 1));
  char* ka = keyA.place(std::string(kKeyBufferSize - 1, '\x55'));
  char* kb = keyB.place(std::string(kKeyBufferSize - 1, '\x55'));
  ops.makeSearchKey(a, ka);
  ops.makeSearchKey(b, kb);
  if (std::strlen(ka) > 245 || ops.keyCharOffset(a, data[1]) > std::strlen(a)) __builtin_trap();
  ops.keyCharOffset(ka, data[1]);
  for (const auto& [x, y] : {std::pair{a, b}, {ka, kb}, {a, kb}}) {
    for (MatchLenFn match :
         {ops.matchLenFolded, ops.matchLenSignificant, ops.matchLenNoCase, ops.matchLenExact})
      match(x, y);
    const int xy = ops.compareKeys(x, y), yx = ops.compareKeys(y, x);
    if ((xy > 0) - (xy < 0) != (yx < 0) - (yx > 0)) __builtin_trap();
  }
  return 0;
}
