// A record as the store holds it: the 16-byte header (number field zero) and the string
// area, with four readable zero bytes behind it.
#pragma once

#include <array>
#include <cstdint>

#include "base/bytes.h"
#include "db/segment_format.h"

namespace orvia::db {

struct RecordView {
  const uint8_t* bytes = nullptr;
  uint32_t length = 0;  // header included

  const char* stringArea() const {
    return reinterpret_cast<const char*>(bytes + kRecordHeaderSize);
  }
  uint32_t contentDictId() const { return loadU32Le(bytes + 4); }
  uint32_t contentRef() const { return loadU32Le(bytes + 8); }
};

using ContentName = std::array<uint8_t, kContentNameSize>;

}  // namespace orvia::db
