// The index record: what the record store keeps for every word. Little-endian.
//   offset  size  field
//        0     4  recordLength, the 16-byte header included; at most 1024
//        4     4  contentDictId: the dictionary whose files hold the content
//        8     4  contentRef: bits 0-23 the content locator (0xFFFFFF: see extendedRef),
//                 bits 24-31 the level; for record (0x7F) and memory (0xFF) companions
//                 all 32 bits are the user entry's offset
//       12     4  recordNumber, the record's position in key order when it was read
//       16     -  searchKey, headword, displayWord: three zero-terminated strings
//        -     4  extendedRef, only when the locator is 0xFFFFFF
//     last     1  vcode, only in language-1 dictionaries
// Records of other writers may leave strings unterminated: a string that finds no zero
// before recordLength ends there, and the strings after it are empty. Nothing past
// recordLength is ever read as part of the record.
#pragma once

#include <cstdint>

#include "base/bytes.h"

namespace orvia::dict {

inline constexpr uint32_t kIndexRecordHeaderSize = 16;
inline constexpr uint32_t kMaxIndexRecordSize = 1024;
// A block that holds one record: room for the largest record and a zero behind it, so
// that a string running to the record's end is still terminated in our memory.
inline constexpr uint32_t kRecordBlockSize = kMaxIndexRecordSize + 1;
inline constexpr uint32_t kRecordLengthOffset = 0;
inline constexpr uint32_t kContentDictIdOffset = 4;
inline constexpr uint32_t kContentRefOffset = 8;
inline constexpr uint32_t kRecordNumberOffset = 12;
inline constexpr uint32_t kSearchKeyOffset = 16;
inline constexpr uint32_t kExtendedLocator = 0xFFFFFF;
// The byte the single-byte key maker leaves behind a key, and a record's default vcode.
inline constexpr uint8_t kDefaultVcode = 0xB8;

struct IndexRecordView {
  uint32_t recordLength = 0;
  uint32_t contentDictId = 0;
  uint32_t contentRef = 0;
  uint32_t recordNumber = 0;
  const char* searchKey = nullptr;
  const char* headword = nullptr;
  const char* displayWord = nullptr;
  uint32_t searchKeyLength = 0, headwordLength = 0, displayWordLength = 0;
  uint8_t lastByte = 0;           // the vcode in language-1 dictionaries
  const uint8_t* tail = nullptr;  // the bytes after the three strings
  uint32_t tailLength = 0;

  uint32_t level() const { return contentRef >> 24; }
  // The key: headword when non-empty, else searchKey.
  const char* key() const { return headword[0] != '\0' ? headword : searchKey; }
  // The word: displayWord when non-empty, else the key.
  const char* word() const { return displayWord[0] != '\0' ? displayWord : key(); }
  uint32_t keyLength() const { return headwordLength != 0 ? headwordLength : searchKeyLength; }
  uint32_t wordLength() const { return displayWordLength != 0 ? displayWordLength : keyLength(); }
  // The u32 after the strings; false when the record is too short to hold one.
  bool extendedRef(uint32_t* out) const {
    if (tailLength < 4) return false;
    *out = loadU32Le(tail);
    return true;
  }
};

// Reads a record held in a buffer of capacity bytes. False when it is damaged: shorter
// than its header, longer than capacity or kMaxIndexRecordSize, or with a string running
// to its end and no zero byte right behind it inside capacity (the view's strings are
// always terminated).
bool parseIndexRecord(const uint8_t* record, uint32_t capacity, IndexRecordView* out);

// Reads the record at the front of size bytes where it stands, or, when a string runs to
// its end with no zero behind it there, from a copy in block (kRecordBlockSize bytes)
// with a zero put behind it; false when no whole record is there.
bool viewIndexRecord(const uint8_t* bytes, uint32_t size, uint8_t* block, IndexRecordView* out);

}  // namespace orvia::dict
