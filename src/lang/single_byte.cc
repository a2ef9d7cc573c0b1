// Key making and character offsets of the single-byte languages.
#include "lang/single_byte.h"

#include "lang/single_byte_chars.h"

namespace orvia::lang::single_byte {
namespace {

class KeyBuilder {
 public:
  explicit KeyBuilder(char* key) : key_(key) {}

  // False once the key has reached kKeyLimit; the caller stops there.
  bool put(char c) {
    key_[length_++] = c;
    endsWithCollapsedSpace_ = false;
    return length_ < kKeyLimit;
  }
  bool putCollapsedSpace() {
    bool more = put(' ');
    endsWithCollapsedSpace_ = true;
    return more;
  }
  void dropCollapsedSpace() {
    if (endsWithCollapsedSpace_) --length_;
    endsWithCollapsedSpace_ = false;
  }
  bool endsWithCollapsedSpace() const { return endsWithCollapsedSpace_; }
  uint32_t length() const { return length_; }

  // The terminator doubles as the first of three zero bytes, so that a reader of a
  // two-byte character at the end stays inside what was written.
  void finish() {
    key_[length_] = '\0';
    key_[length_ + 1] = '\0';
    key_[length_ + 2] = '\0';
    key_[length_ + 3] = static_cast<char>(kKeyTrailerByte);
  }

 private:
  char* key_;
  uint32_t length_ = 0;
  bool endsWithCollapsedSpace_ = false;
};

// Copies "@" and the digits behind it, blanks between them dropped. False when the number
// is malformed or the key reaches the limit.
bool appendHomographNumber(const char* w, KeyBuilder& key) {
  key.dropCollapsedSpace();
  if (!key.put('@')) return false;
  w = skipWhiteSpace(w);
  if (*w == '\0') return true;
  if (!isDigit(*w)) return false;
  for (; *w != '\0'; ++w) {
    if (isWhiteSpace(*w)) continue;
    if (!isDigit(*w) || !key.put(*w)) return false;
  }
  return true;
}

// w starts at a byte that is not white space. False when a rule makes the key unusable.
bool appendText(const char* w, KeyBuilder& key) {
  for (; *w != '\0'; ++w) {
    const char c = *w;
    if (signedByte(c) < 0) {
      key.dropCollapsedSpace();
      return false;
    }
    if (c == '@') return appendHomographNumber(w + 1, key);
    if (isWhiteSpace(c)) {
      if (!key.endsWithCollapsedSpace() && !key.putCollapsedSpace()) return false;
    } else if (!key.put(c)) {
      return false;
    }
  }
  key.dropCollapsedSpace();
  return true;
}

}  // namespace

int makeSearchKey(const char* word, char* key) {
  if (key == nullptr) return 0;
  const char* w = skipWhiteSpace(orEmpty(word));
  if (*w == '\0') {
    key[0] = '\0';
    return 0;
  }
  KeyBuilder builder(key);
  const bool wellFormed = appendText(w, builder);
  builder.finish();
  return wellFormed && builder.length() > 0 ? 1 : 0;
}

uint32_t keyCharOffset(const char* key, uint32_t n) {
  if (key == nullptr) return 0;
  uint32_t offset = 0;
  uint32_t counted = 0;
  for (; key[offset] != '\0'; ++offset) {
    if (!isSignificant(key[offset])) continue;
    if (counted == n) return offset;
    ++counted;
  }
  return offset;
}

}  // namespace orvia::lang::single_byte
