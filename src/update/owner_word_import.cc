#include "update/owner_word_import.h"

#include "update/sequential_file.h"

namespace orvia::update {
namespace {

bool validFileHeader(const OwnerWordFileHeader& header, uint32_t fileSize) {
  return header.magic == kOwnerWordMagic && header.version == kOwnerWordVersion &&
         header.sectionCount != 0 && header.totalSize == fileSize;
}

}  // namespace

Status findOwnerWordSection(content::FileHandle file, uint32_t d, OwnerWordSectionHeader* out,
                            uint32_t* itemsAt) {
  if (file == content::kInvalidFile) return Cause::kReadFailed;
  uint8_t bytes[kOwnerWordHeaderSize];
  if (content::readFileAt(file, 0, sizeof bytes, bytes) != sizeof bytes) return Cause::kReadFailed;
  const OwnerWordFileHeader header = decodeFileHeader(bytes);
  const uint32_t fileSize = content::currentFileSize(file);
  if (!validFileHeader(header, fileSize)) return Status(Cause::kDamaged, 0);
  uint64_t position = kOwnerWordHeaderSize;
  for (uint32_t s = 0; s < header.sectionCount; ++s) {
    if (position + kOwnerWordSectionHeaderSize > fileSize ||
        content::readFileAt(file, uint32_t(position), sizeof bytes, bytes) != sizeof bytes)
      return Status(Cause::kTruncated, uint32_t(position));
    *out = decodeSectionHeader(bytes);
    if (out->dictId == d) {
      *itemsAt = uint32_t(position) + kOwnerWordSectionHeaderSize;
      return Status();
    }
    // A length of 0 would read this header again for every section left: none can match.
    if (out->length == 0) return Status(Cause::kDamaged, uint32_t(position) + 12);
    position += out->length;
  }
  return Cause::kEmpty;
}

Status countImportOwnerWords(uint32_t d, const char* path, uint32_t* count) {
  OpenFile file(content::openFileRead(path));
  OwnerWordSectionHeader section;
  uint32_t itemsAt = 0;
  Status status = findOwnerWordSection(file.get(), d, &section, &itemsAt);
  if (status.ok()) *count = section.recordCount + section.memoryCount;
  return status;
}

Status importOwnerWords(uint32_t d, const char* path, DicImportCallback callback) {
  OpenFile file(content::openFileRead(path));
  OwnerWordSectionHeader section;
  uint32_t itemsAt = 0;
  Status status = findOwnerWordSection(file.get(), d, &section, &itemsAt);
  if (!status.ok()) return status;
  return importOwnerWordSection(file.get(), itemsAt, section, d, callback);
}

}  // namespace orvia::update
