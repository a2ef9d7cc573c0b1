#include "content/content_record.h"

#include <cstring>

#include "base/bytes.h"
#include "content/content_format.h"
#include "content/data_file_set.h"
#include "content/huffman_tree_loader.h"
#include "content/lzw_decoder.h"
#include "content/record_reader.h"
#include "content/unmask.h"
#include "dict/config.h"
#include "dict/heap_buffer.h"

namespace orvia::content {
namespace {

constexpr uint64_t kMaxTextSize = 0xFFFFFFFEu;  // callers allocate size + 1

// A continuation target: the file (its path, or "" for the caller's file) and offset.
struct Place {
  char file[kMaxPathSize];
  uint32_t offset;
};

bool samePlace(const Place& a, const char* file, uint32_t offset) {
  return a.offset == offset && std::strcmp(a.file, file) == 0;
}

// One call's decoding: the size when out is null, else the text into out. Offsets passed
// along are those of the record being decoded in its file, for the failure's report.
// Further files and Huffman trees come from files when it is given, else they are read
// for this call alone.
class ContentWalk {
 public:
  ContentWalk(DictPathResolver resolve, DataFileSet* files, uint8_t* out, uint32_t capacity)
      : resolve_(resolve), files_(files), out_(out), capacity_(capacity) {}

  // Decodes the record read from place in file and its continuation chain.
  Status run(FileHandle file, const uint8_t* record, const Place& place, uint32_t* length);

 private:
  bool chain(FileHandle file, const uint8_t* record, uint32_t at, uint32_t depth, uint32_t start,
             const Place* place, uint32_t* length);
  bool body(FileHandle file, const uint8_t* record, uint32_t at, uint32_t depth, uint32_t start,
            uint32_t* part);
  bool composite(FileHandle file, const uint8_t* record, uint32_t at, uint32_t depth,
                 uint32_t start, uint32_t* part);
  FileHandle further(FileHandle file, uint32_t k, FileHandle* opened, char* path);

  // Every failure ends the walk, so the one recorded is the one that ended it.
  bool fail(Status status) {
    failure_ = status;
    return false;
  }
  // A link whose decoder gives nothing adds no text and the chain goes on; its cause
  // becomes the failure only when the chain, or the call, ends with no text.
  void emptyLink(Cause cause, uint32_t at) { emptyLink_ = Status(cause, at); }
  bool failEmpty(uint32_t at) {
    return fail(emptyLink_.ok() ? Status(Cause::kDamaged, at) : emptyLink_);
  }

  DictPathResolver resolve_;
  DataFileSet* files_;
  uint8_t* out_;
  uint32_t capacity_;
  uint32_t recordsLeft_ = kMaxRecordsPerCall;
  Status failure_;
  Status emptyLink_;
};

bool ContentWalk::body(FileHandle file, const uint8_t* record, uint32_t at, uint32_t depth,
                       uint32_t start, uint32_t* part) {
  const uint32_t header = loadU32Le(record);
  const uint32_t length = recordLength(header);
  if (length <= kRecordHeaderSize) return fail(Status(Cause::kDamaged, at));
  const uint8_t* bodyBytes = record + kRecordHeaderSize;
  const uint32_t bodySize = length - kRecordHeaderSize;
  const uint32_t room = capacity_ - start;
  uint8_t* dest = out_ == nullptr ? nullptr : out_ + start;
  switch (recordType(header)) {
    case kStoredContent:
      if (dest != nullptr) {
        if (room <= bodySize) return fail(Status(Cause::kNoRoom, at));
        std::memcpy(dest, bodyBytes, bodySize);
        dest[bodySize] = 0;
      }
      *part = bodySize;
      return true;
    case kLzwContent:
      *part = dest == nullptr ? lzwType1Size(bodyBytes, bodySize)
                              : lzwType1Decode(bodyBytes, bodySize, dest, room);
      if (*part == 0)
        emptyLink(
            dest == nullptr ? Cause::kDamaged : whyNoText(lzwType1Size(bodyBytes, bodySize), room),
            at);
      return true;
    case kMaskedContent:
      if (length <= kMaskedHeaderSize) return fail(Status(Cause::kDamaged, at));
      *part = length - kMaskedHeaderSize;
      if (dest != nullptr) {
        if (room <= *part) return fail(Status(Cause::kNoRoom, at));
        unmaskType2(bodyBytes, dest, *part);
      }
      return true;
    case kHuffmanContent: {
      bool usable = false;
      const HuffmanDecoder* decoder =
          files_ != nullptr ? files_->huffmanTrees(file, &usable) : loadHuffmanTrees(file, &usable);
      if (decoder == nullptr) return fail(Status(Cause::kReadFailed, at));
      *part = !usable           ? 0
              : dest == nullptr ? decoder->textSize(bodyBytes, bodySize)
                                : decoder->decode(bodyBytes, bodySize, dest, room);
      if (*part == 0)
        emptyLink(!usable || dest == nullptr
                      ? Cause::kDamaged
                      : whyNoText(decoder->textSize(bodyBytes, bodySize), room),
                  at);
      return true;
    }
    case kLzwSizedContent: {
      if (length <= kMaskedHeaderSize) return fail(Status(Cause::kDamaged, at));
      const uint32_t decodedSize = loadU32Le(bodyBytes);
      if (dest != nullptr && room <= decodedSize) return fail(Status(Cause::kNoRoom, at));
      *part =
          dest == nullptr ? decodedSize : lzwType64Decode(bodyBytes + 4, bodySize - 4, dest, room);
      if (*part == 0) emptyLink(Cause::kDamaged, at);
      return true;
    }
    case kCompositeContent:
      return composite(file, record, at, depth, start, part);
    default:
      return fail(Status(Cause::kDamaged, at));
  }
}

bool ContentWalk::composite(FileHandle file, const uint8_t* record, uint32_t at, uint32_t depth,
                            uint32_t start, uint32_t* part) {
  if (depth + 1 >= kMaxNestingDepth) return fail(Status(Cause::kDamaged, at));
  uint32_t remaining = recordLength(loadU32Le(record)) - kRecordHeaderSize;
  const uint8_t* nested = record + kRecordHeaderSize;
  uint64_t total = 0;
  while (remaining != 0) {
    const uint32_t nestedAt = at + uint32_t(nested - record);
    // A nested header must itself lie inside the body before its length is trusted.
    if (remaining < kRecordHeaderSize) return fail(Status(Cause::kTruncated, nestedAt));
    uint32_t length = recordLength(loadU32Le(nested));
    if (length > remaining) return fail(Status(Cause::kTruncated, nestedAt));
    uint32_t size = 0;
    if (!chain(file, nested, nestedAt, depth + 1, uint32_t(start + total), nullptr, &size))
      return false;
    if (size == 0) return failEmpty(nestedAt);
    total += size;
    if (total > kMaxTextSize) return fail(Status(Cause::kDamaged, at));
    remaining -= length;
    nested += length;
  }
  *part = uint32_t(total);
  return true;
}

bool ContentWalk::chain(FileHandle file, const uint8_t* record, uint32_t at, uint32_t depth,
                        uint32_t start, const Place* place, uint32_t* length) {
  FileHandle opened = kInvalidFile;  // the further file the chain is in, if any
  HeapBuffer buffer;
  Place here{"", 0};
  // Brent's cycle finding over the chain's places: constant memory, and a chain that
  // comes back on itself is caught within two laps.
  Place tortoise{"", 0};
  bool haveTortoise = place != nullptr;
  if (haveTortoise) tortoise = *place;
  uint32_t power = 1, lap = 1;

  uint64_t total = 0;
  uint32_t part = 0;
  bool ok = true;
  for (uint32_t links = 0;; ++links) {
    if (recordsLeft_ == 0) {
      ok = fail(Status(Cause::kDamaged, at));
      break;
    }
    if (!body(file, record, at, depth, uint32_t(start + total), &part)) {
      ok = false;
      break;
    }
    --recordsLeft_;
    total += part;
    if (total > kMaxTextSize) {
      ok = fail(Status(Cause::kDamaged, at));
      break;
    }
    uint32_t reference = loadU32Le(record + 4);
    if (reference == kNoContinuation) {
      // A continuation that adds nothing fails the call; earlier links may add nothing.
      if (links != 0 && part == 0) ok = failEmpty(at);
      break;
    }
    uint32_t k = reference >> 24;
    here.offset = reference & kMaxContinuationOffset;
    if (k != kSameFileReference && (file = further(file, k, &opened, here.file)) == kInvalidFile) {
      ok = fail(Status(Cause::kReadFailed, at));
      break;
    }
    Status read = readRecordAt(file, here.offset, buffer);
    if (!read.ok() || (haveTortoise && samePlace(tortoise, here.file, here.offset))) {
      ok = fail(read.ok() ? Status(Cause::kDamaged, here.offset) : read);
      break;
    }
    record = buffer.data();
    at = here.offset;
    if (power == lap) {
      tortoise = here;
      haveTortoise = true;
      power *= 2;
      lap = 0;
    }
    ++lap;
  }
  closeFile(opened);
  *length = uint32_t(total);
  return ok;
}

// The file entry k of file names, its path into path (kMaxPathSize bytes). Read for this
// call alone, it is held in *opened until the chain moves on or ends.
FileHandle ContentWalk::further(FileHandle file, uint32_t k, FileHandle* opened, char* path) {
  if (files_ != nullptr) {
    const char* kept = nullptr;
    FileHandle next = files_->further(file, k, &kept);
    if (next != kInvalidFile) std::strcpy(path, kept);
    return next;
  }
  char resolved[kMaxPathSize];
  FileHandle next;
  if (!resolveFileIndexEntry(file, k, resolve_, resolved) ||
      (next = openFileRead(resolved)) == kInvalidFile)
    return kInvalidFile;
  closeFile(*opened);
  *opened = next;
  std::memcpy(path, resolved, sizeof resolved);
  return next;
}

Status ContentWalk::run(FileHandle file, const uint8_t* record, const Place& place,
                        uint32_t* length) {
  uint32_t total = 0;
  if (!chain(file, record, place.offset, 0, 0, &place, &total)) return failure_;
  if (total == 0) {
    failEmpty(place.offset);
    return failure_;
  }
  *length = total;
  return Status();
}

Status decodeAt(FileHandle file, uint32_t offset, DictPathResolver resolve, uint8_t* out,
                uint32_t capacity, uint32_t* length) {
  HeapBuffer buffer;
  Status read = readRecordAt(file, offset, buffer);
  if (!read.ok()) return read;
  ContentWalk walk(resolve, nullptr, out, capacity);
  return walk.run(file, buffer.data(), Place{"", offset}, length);
}

Status decodeAt(DataFileSet& files, FileHandle file, uint32_t offset, uint8_t* out,
                uint32_t capacity, uint32_t* length) {
  const uint8_t* record = nullptr;
  Status read = files.record(file, offset, &record);
  if (!read.ok()) return read;
  ContentWalk walk(nullptr, &files, out, capacity);
  return walk.run(file, record, Place{"", offset}, length);
}

}  // namespace

Status contentSizeAt(FileHandle file, uint32_t offset, DictPathResolver resolve, uint32_t* size) {
  return decodeAt(file, offset, resolve, nullptr, 0, size);
}

Status contentTextAt(FileHandle file, uint32_t offset, char* out, uint32_t capacity,
                     DictPathResolver resolve, uint32_t* length) {
  return decodeAt(file, offset, resolve, reinterpret_cast<uint8_t*>(out), capacity, length);
}

Status contentSizeAt(DataFileSet& files, FileHandle file, uint32_t offset, uint32_t* size) {
  return decodeAt(files, file, offset, nullptr, 0, size);
}

Status contentTextAt(DataFileSet& files, FileHandle file, uint32_t offset, char* out,
                     uint32_t capacity, uint32_t* length) {
  return decodeAt(files, file, offset, reinterpret_cast<uint8_t*>(out), capacity, length);
}

Status contentSizeAt(FileHandle file, uint32_t offset, uint32_t* size) {
  return contentSizeAt(file, offset, &dict::resolveDictFilePath, size);
}

Status contentTextAt(FileHandle file, uint32_t offset, char* out, uint32_t capacity,
                     uint32_t* length) {
  return contentTextAt(file, offset, out, capacity, &dict::resolveDictFilePath, length);
}

}  // namespace orvia::content
