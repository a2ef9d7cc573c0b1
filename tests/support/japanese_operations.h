// Whether code 4 has its own operations in this build: until they are built it answers
// as the code-0 stubs, and tests of Japanese keys wait for them.
#pragma once

#include "lang/lang_ops.h"

namespace orvia::testing {

inline bool japaneseOperationsBuilt() {
  char key[lang::kKeyBufferSize];
  return lang::getMakeSearchKeyFn(4)("\x82\xA0", key) != 0;  // あ
}

}  // namespace orvia::testing
