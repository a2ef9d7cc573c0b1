#include "compile/content/content_record_encoder.h"

#include <cstddef>

#include "base/bytes.h"
#include "compile/content/lzw_encoder.h"

namespace orvia::compile {
namespace {

using namespace orvia::content;

void putU32(std::vector<uint8_t>* out, uint32_t v) {
  uint8_t bytes[4];
  storeU32Le(bytes, v);
  out->insert(out->end(), bytes, bytes + 4);
}

// Writes the header over the first 8 bytes of record once the body is in place.
bool frame(std::vector<uint8_t>* record, size_t start, ContentType type) {
  size_t length = record->size() - start;
  if (length > kMaxRecordLength) {
    record->resize(start);
    return false;
  }
  storeU32Le(record->data() + start, makeRecordHeader(type, uint32_t(length)));
  storeU32Le(record->data() + start + 4, kNoContinuation);
  return true;
}

void maskBytes(uint32_t mask, const uint8_t* text, uint32_t size, std::vector<uint8_t>* out) {
  uint8_t m[4];
  storeU32Le(m, mask);
  const uint32_t words = size & ~3u;
  for (uint32_t i = 0; i < size; ++i)
    out->push_back(i < words ? uint8_t(text[i] ^ m[i & 3]) : text[i]);
}

}  // namespace

bool encodeContentRecord(const RecordEncoding& encoding, const uint8_t* text, uint32_t size,
                         std::vector<uint8_t>* record) {
  if (size == 0) return false;
  const size_t start = record->size();
  record->resize(start + kRecordHeaderSize);
  bool ok = true;
  switch (encoding.type) {
    case kStoredContent:
      record->insert(record->end(), text, text + size);
      break;
    case kLzwContent:
      ok = encodeLzwType1(text, size, record);
      break;
    case kMaskedContent:
      putU32(record, encoding.mask);
      maskBytes(encoding.mask, text, size, record);
      break;
    case kHuffmanContent:
      ok = encoding.huffman != nullptr && encoding.huffman->encode(text, size, record);
      break;
    case kLzwSizedContent:
      putU32(record, size);
      ok = encodeLzwType64(text, size, record);
      break;
    default:
      ok = false;
  }
  if (!ok) {
    record->resize(start);
    return false;
  }
  return frame(record, start, encoding.type);
}

bool encodeCompositeRecord(const std::vector<std::vector<uint8_t>>& nested,
                           std::vector<uint8_t>* record) {
  if (nested.empty()) return false;
  const size_t start = record->size();
  record->resize(start + kRecordHeaderSize);
  for (const auto& r : nested) record->insert(record->end(), r.begin(), r.end());
  return frame(record, start, kCompositeContent);
}

void setContinuation(std::vector<uint8_t>* record, uint32_t reference) {
  storeU32Le(record->data() + 4, reference);
}

}  // namespace orvia::compile
