#include "content/content_record.h"

#include <cstring>

#include "base/bytes.h"
#include "content/content_format.h"
#include "content/huffman_tree_loader.h"
#include "content/lzw_decoder.h"
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

// How much the first read of a record takes: most records whole, in one read.
constexpr uint32_t kFirstReadSize = 4096;

// Reads the whole record at offset. Asking the file's size for every record would cost
// a call to the system each; instead the first read takes the header and, mostly, the
// whole record, and a length that runs past the end of the file shows as a short read
// before anything is allocated for it.
bool readRecordAt(FileHandle file, uint32_t offset, HeapBuffer& buffer) {
  uint8_t first[kFirstReadSize];
  uint32_t got = readFileAt(file, offset, kFirstReadSize, first);
  if (got < kRecordHeaderSize) return false;
  const uint32_t length = recordLength(loadU32Le(first));
  if (length <= kRecordHeaderSize || (length > got && got < kFirstReadSize)) return false;
  if (!buffer.reserve(length)) return false;
  const uint32_t head = length < got ? length : got;
  std::memcpy(buffer.data(), first, head);
  return head == length ||
         readFileAt(file, offset + head, length - head, buffer.data() + head) == length - head;
}

// One call's decoding: the size when out is null, else the text into out.
class ContentWalk {
 public:
  ContentWalk(DictPathResolver resolve, uint8_t* out, uint32_t capacity)
      : resolve_(resolve), out_(out), capacity_(capacity) {}

  // Decodes record and its continuation chain, writing from out + start. start is given
  // a place when the record was read from file at a known offset.
  uint32_t chain(FileHandle file, const uint8_t* record, uint32_t depth, uint32_t start,
                 const Place* place);

 private:
  bool body(FileHandle file, const uint8_t* record, uint32_t depth, uint32_t start, uint32_t* part);
  bool composite(FileHandle file, const uint8_t* record, uint32_t depth, uint32_t start,
                 uint32_t* part);

  DictPathResolver resolve_;
  uint8_t* out_;
  uint32_t capacity_;
  uint32_t recordsLeft_ = kMaxRecordsPerCall;
};

bool ContentWalk::body(FileHandle file, const uint8_t* record, uint32_t depth, uint32_t start,
                       uint32_t* part) {
  const uint32_t header = loadU32Le(record);
  const uint32_t length = recordLength(header);
  if (length <= kRecordHeaderSize) return false;
  const uint8_t* bodyBytes = record + kRecordHeaderSize;
  const uint32_t bodySize = length - kRecordHeaderSize;
  const uint32_t room = capacity_ - start;
  uint8_t* at = out_ == nullptr ? nullptr : out_ + start;
  switch (recordType(header)) {
    case kStoredContent:
      if (at != nullptr) {
        if (room <= bodySize) return false;
        std::memcpy(at, bodyBytes, bodySize);
        at[bodySize] = 0;
      }
      *part = bodySize;
      return true;
    case kLzwContent:
      *part = at == nullptr ? lzwType1Size(bodyBytes, bodySize)
                            : lzwType1Decode(bodyBytes, bodySize, at, room);
      return true;
    case kMaskedContent:
      if (length <= kMaskedHeaderSize) return false;
      *part = length - kMaskedHeaderSize;
      if (at != nullptr) {
        if (room <= *part) return false;
        unmaskType2(bodyBytes, at, *part);
      }
      return true;
    case kHuffmanContent: {
      bool usable = false;
      const HuffmanDecoder* decoder = loadHuffmanTrees(file, &usable);
      if (decoder == nullptr) return false;
      *part = !usable         ? 0
              : at == nullptr ? decoder->textSize(bodyBytes, bodySize)
                              : decoder->decode(bodyBytes, bodySize, at, room);
      return true;
    }
    case kLzwSizedContent: {
      if (length <= kMaskedHeaderSize) return false;
      uint32_t decodedSize = loadU32Le(bodyBytes);
      if (at == nullptr) {
        *part = decodedSize;
        return true;
      }
      if (room <= decodedSize) return false;
      *part = lzwType64Decode(bodyBytes + 4, bodySize - 4, at, room);
      return true;
    }
    case kCompositeContent:
      return composite(file, record, depth, start, part);
    default:
      return false;
  }
}

bool ContentWalk::composite(FileHandle file, const uint8_t* record, uint32_t depth, uint32_t start,
                            uint32_t* part) {
  if (depth + 1 >= kMaxNestingDepth) return false;
  uint32_t remaining = recordLength(loadU32Le(record)) - kRecordHeaderSize;
  const uint8_t* nested = record + kRecordHeaderSize;
  uint64_t total = 0;
  while (remaining != 0) {
    // A nested header must itself lie inside the body before its length is trusted.
    if (remaining < kRecordHeaderSize) return false;
    uint32_t length = recordLength(loadU32Le(nested));
    if (length > remaining) return false;
    uint32_t size = chain(file, nested, depth + 1, uint32_t(start + total), nullptr);
    if (size == 0) return false;
    total += size;
    if (total > kMaxTextSize) return false;
    remaining -= length;
    nested += length;
  }
  *part = uint32_t(total);
  return true;
}

uint32_t ContentWalk::chain(FileHandle file, const uint8_t* record, uint32_t depth, uint32_t start,
                            const Place* place) {
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
    if (recordsLeft_ == 0 || !body(file, record, depth, uint32_t(start + total), &part)) {
      ok = false;
      break;
    }
    --recordsLeft_;
    total += part;
    if (total > kMaxTextSize) {
      ok = false;
      break;
    }
    uint32_t reference = loadU32Le(record + 4);
    if (reference == kNoContinuation) {
      // A continuation that adds nothing fails the call; earlier links may add nothing.
      ok = links == 0 || part != 0;
      break;
    }
    uint32_t k = reference >> 24;
    here.offset = reference & kMaxContinuationOffset;
    if (k != kSameFileReference) {
      char path[kMaxPathSize];
      FileHandle next;
      if (!resolveFileIndexEntry(file, k, resolve_, path) ||
          (next = openFileRead(path)) == kInvalidFile) {
        ok = false;
        break;
      }
      closeFile(opened);
      opened = file = next;
      std::memcpy(here.file, path, sizeof path);
    }
    if (!readRecordAt(file, here.offset, buffer) ||
        (haveTortoise && samePlace(tortoise, here.file, here.offset))) {
      ok = false;
      break;
    }
    record = buffer.data();
    if (power == lap) {
      tortoise = here;
      haveTortoise = true;
      power *= 2;
      lap = 0;
    }
    ++lap;
  }
  closeFile(opened);
  return ok ? uint32_t(total) : 0;
}

uint32_t sizeOf(FileHandle file, const uint8_t* record, DictPathResolver resolve,
                const Place* place) {
  if (record == nullptr) return 0;
  ContentWalk walk(resolve, nullptr, 0);
  return walk.chain(file, record, 0, 0, place);
}

uint32_t textOf(FileHandle file, const uint8_t* record, char* out, uint32_t capacity,
                DictPathResolver resolve, const Place* place) {
  if (record == nullptr || out == nullptr || capacity == 0) return 0;
  ContentWalk walk(resolve, reinterpret_cast<uint8_t*>(out), capacity);
  return walk.chain(file, record, 0, 0, place);
}

}  // namespace

uint32_t readContentSize(FileHandle file, const uint8_t* record, DictPathResolver resolve) {
  return sizeOf(file, record, resolve, nullptr);
}

uint32_t readContentText(FileHandle file, const uint8_t* record, char* out, uint32_t capacity,
                         DictPathResolver resolve) {
  return textOf(file, record, out, capacity, resolve, nullptr);
}

uint32_t contentSizeAt(FileHandle file, uint32_t offset, DictPathResolver resolve) {
  HeapBuffer buffer;
  if (!readRecordAt(file, offset, buffer)) return 0;
  Place place{"", offset};
  return sizeOf(file, buffer.data(), resolve, &place);
}

uint32_t contentTextAt(FileHandle file, uint32_t offset, char* out, uint32_t capacity,
                       DictPathResolver resolve) {
  HeapBuffer buffer;
  if (!readRecordAt(file, offset, buffer)) return 0;
  Place place{"", offset};
  return textOf(file, buffer.data(), out, capacity, resolve, &place);
}

uint32_t readContentSize(FileHandle file, const uint8_t* record) {
  return readContentSize(file, record, &dict::resolveDictFilePath);
}

uint32_t readContentText(FileHandle file, const uint8_t* record, char* out, uint32_t capacity) {
  return readContentText(file, record, out, capacity, &dict::resolveDictFilePath);
}

uint32_t contentSizeAt(FileHandle file, uint32_t offset) {
  return contentSizeAt(file, offset, &dict::resolveDictFilePath);
}

uint32_t contentTextAt(FileHandle file, uint32_t offset, char* out, uint32_t capacity) {
  return contentTextAt(file, offset, out, capacity, &dict::resolveDictFilePath);
}

}  // namespace orvia::content
