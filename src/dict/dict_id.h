// Dictionary identifiers: four bytes from the least significant, the key language, the
// content language, the dictionary number and the companion kind.
#pragma once

#include <cstdint>

namespace orvia::dict {

inline constexpr uint32_t kInstalledKind = 0x00;
inline constexpr uint32_t kRecordKind = 0x7F;
inline constexpr uint32_t kNewWordKind = 0x80;
inline constexpr uint32_t kMemoryKind = 0xFF;
// A dictionary file name and a content file name kept by the index are 16-byte buffers.
inline constexpr uint32_t kFileNameBufferSize = 16;

// Valid when bytes 0, 1 and 2 are all non-zero; byte 3 may be anything.
constexpr bool isValidDictId(uint32_t id) {
  return (id & 0xFF) != 0 && (id & 0xFF00) != 0 && (id & 0xFF0000) != 0;
}
constexpr uint32_t baseOf(uint32_t id) {
  return id & 0x00FFFFFF;
}
constexpr uint32_t companionKindOf(uint32_t id) {
  return id >> 24;
}
constexpr uint32_t withKind(uint32_t id, uint32_t kind) {
  return baseOf(id) | kind << 24;
}
constexpr uint32_t recordDictId(uint32_t id) {
  return withKind(id, kRecordKind);
}
constexpr uint32_t memDictId(uint32_t id) {
  return withKind(id, kMemoryKind);
}
constexpr uint32_t newWordDictId(uint32_t id) {
  return withKind(id, kNewWordKind);
}
// A valid id whose kind is one of the user or new-word companions.
constexpr bool isCompanion(uint32_t id) {
  uint32_t kind = companionKindOf(id);
  return isValidDictId(id) && (kind == kRecordKind || kind == kNewWordKind || kind == kMemoryKind);
}
// Ids whose content lives in a user-entry file: record and memory companions.
constexpr bool isUserEntryId(uint32_t id) {
  uint32_t kind = companionKindOf(id);
  return isValidDictId(id) && (kind == kRecordKind || kind == kMemoryKind);
}
// Memory form: kinds 0x81 to 0xFF, content the caller reads as a note on a word.
constexpr bool isMemoryFormId(uint32_t id) {
  return isValidDictId(id) && companionKindOf(id) >= 0x81;
}
// Two dictionaries share a subject when their numbers match and their content and key
// languages match, 0xFF matching any language. Kinds are not looked at.
constexpr bool dictIdsCompatible(uint32_t a, uint32_t b) {
  auto byteOf = [](uint32_t id, int n) { return (id >> (8 * n)) & 0xFF; };
  auto languagesMatch = [&](int n) {
    return byteOf(a, n) == byteOf(b, n) || byteOf(a, n) == 0xFF || byteOf(b, n) == 0xFF;
  };
  return isValidDictId(a) && isValidDictId(b) && byteOf(a, 2) == byteOf(b, 2) &&
         languagesMatch(1) && languagesMatch(0);
}

// Eight upper-case hexadecimal digits and a terminator into out (9 bytes); always 1.
int formatDictIdHex(uint32_t value, char* out);
// The eight digits followed by extension (when not null) into a 16-byte out; always 1.
// An extension too long for the buffer is cut so the name stays terminated.
int buildDictFileName(uint32_t id, char* out, const char* extension);

}  // namespace orvia::dict
