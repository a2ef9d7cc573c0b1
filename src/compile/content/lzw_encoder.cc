#include "compile/content/lzw_encoder.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include "compile/content/code_stream_writer.h"
#include "content/content_format.h"

namespace orvia::compile {
namespace {

using namespace orvia::content;

// Codes of one variant.
struct Variant {
  uint32_t endCode, widenCode, firstEntry;
  bool resets;
};
constexpr Variant kType1{kLzw1EndCode, kLzw1WidenCode, kLzw1FirstEntry, false};
constexpr Variant kType64{kLzw64EndCode, kLzw64WidenCode, kLzw64FirstEntry, true};

// String table as a hash of (prefix code, next byte) -> code; it mirrors the decoder's,
// which adds the previous string plus one byte for every code after the first.
// A text of n bytes adds at most n entries, so short texts get a small table: the
// compiler codes hundreds of thousands of short entries, each in both variants.
class StringTable {
 public:
  explicit StringTable(uint32_t textSize) {
    uint32_t wanted = 2 * std::min<uint32_t>(textSize, kLzwTableSize);
    while (slotBits_ < kMaxSlotBits && (1u << slotBits_) < wanted) ++slotBits_;
    slots_.reset(new Slot[size_t(1) << slotBits_]);
    clear();
  }
  void clear() { std::memset(slots_.get(), 0xFF, sizeof(Slot) << slotBits_); }

  uint32_t find(uint32_t prefix, uint8_t byte) const {
    uint32_t key = (prefix << 8) | byte;
    for (uint32_t i = hash(key);; i = (i + 1) & mask()) {
      if (slots_[i].key == key) return slots_[i].code;
      if (slots_[i].key == kEmpty) return kNone;
    }
  }
  void insert(uint32_t prefix, uint8_t byte, uint32_t code) {
    uint32_t key = (prefix << 8) | byte;
    uint32_t i = hash(key);
    while (slots_[i].key != kEmpty) i = (i + 1) & mask();
    slots_[i] = {key, code};
  }

  static constexpr uint32_t kNone = 0xFFFFFFFF;

 private:
  static constexpr uint32_t kMinSlotBits = 6;
  static constexpr uint32_t kMaxSlotBits = 16;  // twice the largest table
  static constexpr uint32_t kEmpty = 0xFFFFFFFF;
  struct Slot {
    uint32_t key;
    uint32_t code;
  };
  uint32_t mask() const { return (1u << slotBits_) - 1; }
  uint32_t hash(uint32_t key) const { return (key * 2654435761u) >> (32 - slotBits_); }
  uint32_t slotBits_ = kMinSlotBits;
  std::unique_ptr<Slot[]> slots_;
};

bool encode(const Variant& v, const uint8_t* text, uint32_t size, std::vector<uint8_t>* codes) {
  if (size == 0) return false;
  if (v.endCode == 0 && std::memchr(text, 0, size) != nullptr) return false;
  StringTable table(size);
  CodeStreamWriter out(codes);
  uint32_t width = kLzwFirstWidth;
  uint32_t next = v.firstEntry;
  auto emit = [&](uint32_t code) {
    while (code >= (1u << width)) out.put(v.widenCode, width++);
    out.put(code, width);
  };

  out.put(text[0], kLzwFirstWidth);
  uint32_t prevCode = text[0], prevLength = 1;
  uint32_t pos = 1;
  while (pos < size) {
    if (next < kLzwTableSize) {
      // Strings past the 16-bit length would be cut short by the decoder: never used.
      if (prevLength + 1 <= kLzwMaxStringLength) table.insert(prevCode, text[pos], next);
      ++next;
    } else if (v.resets) {
      out.put(kLzw64ResetCode, width);
      width = kLzwFirstWidth;
      next = v.firstEntry;
      table.clear();
      out.put(text[pos], kLzwFirstWidth);
      prevCode = text[pos];
      prevLength = 1;
      ++pos;
      continue;
    }
    uint32_t code = text[pos], length = 1;
    while (pos + length < size) {
      uint32_t longer = table.find(code, text[pos + length]);
      if (longer == StringTable::kNone) break;
      code = longer;
      ++length;
    }
    emit(code);
    prevCode = code;
    prevLength = length;
    pos += length;
  }
  out.put(v.endCode, width);
  out.finish();
  return true;
}

}  // namespace

bool encodeLzwType1(const uint8_t* text, uint32_t size, std::vector<uint8_t>* codes) {
  return encode(kType1, text, size, codes);
}

bool encodeLzwType64(const uint8_t* text, uint32_t size, std::vector<uint8_t>* codes) {
  return encode(kType64, text, size, codes);
}

}  // namespace orvia::compile
