#include "content/lzw_decoder.h"

#include <cstring>
#include <memory>

#include "content/content_format.h"
#include "content/lzw_code_reader.h"

namespace orvia::content {
namespace {

// Each entry is a string already in the output: its position and 16-bit length.
struct LzwTable {
  uint32_t position[kLzwTableSize];
  uint16_t length[kLzwTableSize];
};

LzwTable* threadTable() {
  thread_local std::unique_ptr<LzwTable> table(new LzwTable);
  return table.get();
}

// Positions can pass 4 GiB only in a size pass over a hostile stream.
constexpr uint64_t kMaxTextSize = 0xFFFFFFFEu;

// Copies len bytes that lie wholly before dst. Sixteen bytes at a time when the slack
// allows: every chunk is loaded before it is stored, so the bytes past the string that
// a chunk drags along are overwritten later and never read as text.
inline void copyString(uint8_t* out, uint32_t dst, uint32_t src, uint32_t len, uint32_t capacity) {
  if (uint64_t(dst) + len + 16 <= capacity) {
    for (uint32_t done = 0; done < len; done += 16) {
      uint64_t a, b;
      std::memcpy(&a, out + src + done, 8);
      std::memcpy(&b, out + src + done + 8, 8);
      std::memcpy(out + dst + done, &a, 8);
      std::memcpy(out + dst + done + 8, &b, 8);
    }
  } else {
    std::memmove(out + dst, out + src, len);
  }
}

// The decoder state shared by both variants; positions are offsets into the output.
struct LzwState {
  uint32_t width = kLzwFirstWidth;
  uint32_t next;
  uint64_t prev = 0;
  uint64_t cur = 0;
  LzwTable* table = threadTable();

  explicit LzwState(uint32_t firstEntry) : next(firstEntry) {}

  bool widen() { return ++width <= kLzwMaxWidth; }

  // Every code that is neither special nor the first adds the previous string plus one
  // byte, until the table is full.
  void grow() {
    if (next < kLzwTableSize) {
      table->position[next] = uint32_t(prev);
      table->length[next] = uint16_t(cur - prev + 1);
      ++next;
    } else if (next == kLzwTableSize) {
      next = kLzwFullTable;
    }
  }

  // Length of the string for code c once grow() has run, or false for a code that
  // names no entry. The code just created stands for the previous string plus its own
  // first byte.
  bool stringLength(uint32_t c, uint32_t firstEntry, uint32_t* length) const {
    if (c == next - 1) {
      *length = uint32_t((cur - prev) & 0xFFFF) + 1;
    } else if (c < 256) {
      *length = 1;
    } else if (c >= firstEntry && c < next && c < kLzwTableSize) {
      *length = table->length[c];
    } else {
      return false;
    }
    return true;
  }

  // Writes the string for code c at cur; false when it would leave no room for the NUL.
  bool emit(uint32_t c, uint8_t* out, uint32_t capacity) {
    if (c == next - 1) {
      uint32_t m = uint32_t((cur - prev) & 0xFFFF);
      if (cur + m + 1 >= capacity) return false;
      copyString(out, uint32_t(cur), uint32_t(prev), m, capacity);
      prev = cur;
      cur += m;
      out[cur++] = out[prev];
    } else if (c < 256) {
      prev = cur;
      if (cur + 1 >= capacity) return false;
      out[cur++] = uint8_t(c);
    } else {
      uint32_t len = table->length[c];
      prev = cur;
      if (cur + len >= capacity) return false;
      copyString(out, uint32_t(cur), table->position[c], len, capacity);
      cur += len;
    }
    return true;
  }

  // The size pass: the same moves on positions only.
  bool advance(uint32_t c, uint32_t firstEntry) {
    uint32_t len;
    if (!stringLength(c, firstEntry, &len)) return false;
    prev = cur;
    cur += len;
    return cur <= kMaxTextSize;
  }
};

bool knownCode(const LzwState& state, uint32_t c, uint32_t firstEntry) {
  uint32_t len;
  return state.stringLength(c, firstEntry, &len);
}

}  // namespace

uint32_t lzwType1Size(const uint8_t* body, uint32_t bodySize) {
  LzwCodeReader in(body, bodySize);
  LzwState state(kLzw1FirstEntry);
  uint32_t c;
  if (!in.read(kLzwFirstWidth, &c) || c == kLzw1EndCode) return 0;
  state.cur = 1;
  for (;;) {
    if (!in.read(state.width, &c)) return 0;
    if (c == kLzw1EndCode) return uint32_t(state.cur);
    if (c == kLzw1WidenCode) {
      if (!state.widen()) return 0;
      continue;
    }
    state.grow();
    if (!state.advance(c, kLzw1FirstEntry)) return 0;
  }
}

uint32_t lzwType1Decode(const uint8_t* body, uint32_t bodySize, uint8_t* out, uint32_t capacity) {
  LzwCodeReader in(body, bodySize);
  LzwState state(kLzw1FirstEntry);
  uint32_t c;
  // The first literal gets the room check too, so a capacity of 1 never writes out[1].
  if (capacity < 2 || !in.read(kLzwFirstWidth, &c)) return 0;
  out[0] = uint8_t(c);
  if (c == kLzw1EndCode) return 0;
  state.cur = 1;
  for (;;) {
    if (!in.read(state.width, &c)) return 0;
    if (c == kLzw1EndCode) {
      out[state.cur] = 0;
      return uint32_t(state.cur);
    }
    if (c == kLzw1WidenCode) {
      if (!state.widen()) return 0;
      continue;
    }
    state.grow();
    if (!knownCode(state, c, kLzw1FirstEntry) || !state.emit(c, out, capacity)) return 0;
  }
}

uint32_t lzwType64Decode(const uint8_t* codes, uint32_t codesSize, uint8_t* out,
                         uint32_t capacity) {
  LzwCodeReader in(codes, codesSize);
  LzwState state(kLzw64FirstEntry);
  uint32_t c;
  if (capacity < 2 || !in.read(kLzwFirstWidth, &c) || c == kLzw64EndCode) return 0;
  out[0] = uint8_t(c);
  state.cur = 1;
  for (;;) {
    if (!in.read(state.width, &c)) return 0;
    if (c == kLzw64EndCode) {
      out[state.cur] = 0;
      return uint32_t(state.cur);
    }
    if (c == kLzw64WidenCode) {
      if (!state.widen()) return 0;
      continue;
    }
    if (c == kLzw64ResetCode) {
      state.next = kLzw64FirstEntry;
      state.width = kLzwFirstWidth;
      state.prev = state.cur;
      if (!in.read(kLzwFirstWidth, &c)) return 0;
      if (c == kLzw64EndCode) {
        out[state.cur] = 0;
        return uint32_t(state.cur);
      }
      if (state.cur + 1 >= capacity) return 0;
      out[state.cur++] = uint8_t(c);
      continue;
    }
    state.grow();
    if (!knownCode(state, c, kLzw64FirstEntry) || !state.emit(c, out, capacity)) return 0;
  }
}

}  // namespace orvia::content
