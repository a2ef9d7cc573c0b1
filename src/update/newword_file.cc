#include "update/newword_file.h"

namespace orvia::update {

const char* newWordCheckText(NewWordCheck check) {
  switch (check) {
    case NewWordCheck::kValid:
      return "valid";
    case NewWordCheck::kNoFile:
      return "the file cannot be opened";
    case NewWordCheck::kHeaderUnread:
      return "shorter than its 40-byte header";
    case NewWordCheck::kNotATarget:
      return "the target id is not a new-word target";
    case NewWordCheck::kVersionTooHigh:
      return "the version is above 255";
    case NewWordCheck::kBadHeaderSize:
      return "the header size is not 40";
    case NewWordCheck::kNoIndexImage:
      return "the index image is empty";
    case NewWordCheck::kNoContentImage:
      return "the content image is empty";
    case NewWordCheck::kImagesSizeMismatch:
      return "the images' size is not the sum of theirs";
    case NewWordCheck::kFileSizeMismatch:
      return "the file's size is not the images' size + 40";
  }
  return "unknown";
}

content::FileHandle openNewWordFile(const char* path) {
  if (path == nullptr || path[0] == '\0') return content::kInvalidFile;
  content::FileHandle file = content::openFileRead(path);
  if (file == content::kInvalidFile) return file;
  if (checkNewWordFile(file) != NewWordCheck::kValid) {
    content::closeFile(file);
    return content::kInvalidFile;
  }
  return file;
}

uint32_t readNewWordHeader(content::FileHandle file, NewWordFileHeader* out) {
  uint8_t bytes[kNewWordHeaderSize];
  if (file == content::kInvalidFile ||
      content::readFileAt(file, 0, kNewWordHeaderSize, bytes) != kNewWordHeaderSize) {
    return 0;
  }
  *out = decodeNewWordHeader(bytes);
  return 1;
}

uint32_t closeNewWordFile(content::FileHandle file) {
  return content::closeFile(file);
}

NewWordCheck checkNewWordFile(content::FileHandle file) {
  if (file == content::kInvalidFile) return NewWordCheck::kNoFile;
  NewWordFileHeader header;
  if (readNewWordHeader(file, &header) == 0) return NewWordCheck::kHeaderUnread;
  if (!isNewWordTarget(header.targetDictId)) return NewWordCheck::kNotATarget;
  if (header.listVersion > kMaxListVersion) return NewWordCheck::kVersionTooHigh;
  if (header.headerSize != kNewWordHeaderSize) return NewWordCheck::kBadHeaderSize;
  if (header.indexImageSize == 0) return NewWordCheck::kNoIndexImage;
  if (header.contentImageSize == 0) return NewWordCheck::kNoContentImage;
  // The sum is taken in 32 bits, as every writer of the format takes it.
  if (uint32_t(header.indexImageSize + header.contentImageSize) != header.imagesSize) {
    return NewWordCheck::kImagesSizeMismatch;
  }
  // Compared in 64 bits: a file of 4 GiB and more must not pass by its low 32 bits.
  uint64_t fileSize = 0;
  if (!file->size(&fileSize) || fileSize != uint64_t(header.imagesSize) + kNewWordHeaderSize) {
    return NewWordCheck::kFileSizeMismatch;
  }
  return NewWordCheck::kValid;
}

Status readNewWordFileHeader(const char* path, NewWordFileHeader* out) {
  content::FileHandle file = openNewWordFile(path);
  if (file == content::kInvalidFile) return Status(Cause::kReadFailed);
  const uint32_t read = readNewWordHeader(file, out);
  closeNewWordFile(file);
  return read != 0 ? Status() : Status(Cause::kReadFailed);
}

}  // namespace orvia::update
