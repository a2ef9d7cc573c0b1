#include "compile/key/skip_reason.h"

namespace orvia::compile {
namespace {

struct ReasonText {
  const char* name;
  const char* description;
};

const ReasonText kReasons[kSkipReasonCount] = {
    {"bad-source-record", "malformed in the source"},
    {"not-in-code-page", "not in the dictionary's code page"},
    {"no-ascii-spelling", "a character without an ASCII spelling"},
    {"holds-at", "holds \"@\", which marks homograph numbers"},
    {"empty-key", "empty key"},
    {"no-significant-character", "no double-byte or significant character"},
    {"key-too-long", "key of 244 bytes or more"},
    {"unusable-key", "no usable search key"},
    {"record-too-long", "record longer than 1024 bytes"},
    {"out-of-order", "key out of order with its neighbours"},
};

}  // namespace

const char* describeSkipReason(SkipReason reason) {
  return kReasons[int(reason)].description;
}

const char* skipReasonName(SkipReason reason) {
  return kReasons[int(reason)].name;
}

}  // namespace orvia::compile
