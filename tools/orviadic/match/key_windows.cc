#include "match/key_windows.h"

#include <algorithm>
#include <cstring>

namespace orviadic::match {
namespace {

// A window of this many keys takes some 12 KB in an English dictionary; the buffer holds
// the longest keys as well, and a window that fills it just comes back shorter.
constexpr uint32_t kWindowKeys = 1024;
constexpr size_t kBufferBytes = 64 * 1024;

}  // namespace

uint32_t recordCount(HDICT* dict) {
  return dicGetWordCount(dict);
}

KeyWindows::KeyWindows(HDICT* dict, uint32_t first, uint32_t count)
    : dict_(dict), nextRecord_(first), buffer_(kBufferBytes) {
  const uint32_t total = recordCount(dict);
  end_ = first >= total ? first : first + std::min(count, total - first);
}

bool KeyWindows::fetch() {
  if (nextRecord_ >= end_) return false;
  uint32_t entries = 0;
  dicGetKeyList(dict_, nextRecord_, std::min(kWindowKeys, end_ - nextRecord_), buffer_.data(),
                uint32_t(buffer_.size()), &entries);
  left_ = entries;
  at_ = buffer_.data();
  return entries != 0;
}

bool KeyWindows::next(uint32_t* record, std::string_view* key) {
  if (left_ == 0 && !fetch()) {
    end_ = nextRecord_;
    return false;
  }
  // An entry is the byte naming where the content lives, the key, and its zero.
  const char* text = at_ + 1;
  const size_t length = std::strlen(text);
  at_ = text + length + 1;
  --left_;
  *record = nextRecord_++;
  *key = std::string_view(text, length);
  return true;
}

}  // namespace orviadic::match
