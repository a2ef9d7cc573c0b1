// Encodes a text as one content record of a chosen type: header, continuation reference
// (none until setContinuation), body.
#pragma once

#include <cstdint>
#include <vector>

#include "compile/content/huffman_encoder.h"
#include "content/content_format.h"

namespace orvia::compile {

struct RecordEncoding {
  content::ContentType type = content::kStoredContent;
  uint32_t mask = 0x5A3C96E1;               // type 2
  const HuffmanEncoder* huffman = nullptr;  // type 3
};

// Appends the whole record to record. False when the type cannot code the text (see the
// encoders), for composites (use encodeCompositeRecord), and for a record longer than
// the 24-bit length allows.
bool encodeContentRecord(const RecordEncoding& encoding, const uint8_t* text, uint32_t size,
                         std::vector<uint8_t>* record);

// A composite of whole nested records laid end to end.
bool encodeCompositeRecord(const std::vector<std::vector<uint8_t>>& nested,
                           std::vector<uint8_t>* record);

// REQUIRES: record holds exactly one record.
void setContinuation(std::vector<uint8_t>* record, uint32_t reference);

}  // namespace orvia::compile
