// The data half of the dictionary compiler: writes each entry's content text (see
// entry_text.h) into the dictionary's data file as the entries are read, in source
// order, so that an entry's offset is known at once and no text is kept.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "compile/data_file_writer.h"
#include "compile/huffman_encoder.h"
#include "compile/index/code_page.h"
#include "compile/index/source_entry.h"

namespace orvia::compile {

// The --encoding names: "auto" (the smallest of every coding, the default), "stored",
// "lzw", "lzw64", "masked", "huffman". Empty for any other name.
std::optional<EntryEncoding> encodingNamed(const std::string& name);
// The name of a content type for reports ("stored", "lzw", "masked", "huffman", "lzw64",
// "composite"); null for a type outside the format.
const char* contentTypeName(uint8_t type);

class ContentCompiler {
 public:
  // REQUIRES: dictId is a valid dictionary id.
  ContentCompiler(uint32_t dictId, EntryEncoding encoding, DataFileOptions options = {});

  // False when the dictionary's language has no code page.
  bool valid() const { return converter_.has_value() && converter_->valid(); }

  // Huffman coding needs trees made from every text first: when this is true, give each
  // entry to countText before create.
  bool needsStatistics() const;
  void countText(const SourceEntry& entry);

  // Creates the data file at path, emptying any file there.
  bool create(const std::string& path);
  // Where the next entry's first record goes in the data file.
  uint32_t nextOffset() const { return writer_.nextOffset(); }
  // Writes entry's content; *offset is its first record's offset.
  bool add(const SourceEntry& entry, uint32_t* offset);
  // Completes and closes the data files.
  bool finish();

  const DataFileTally& tally() const { return writer_.tally(); }
  uint64_t textBytes() const { return textBytes_; }  // converted texts, before coding

 private:
  const std::string& textOf(const SourceEntry& entry);

  EntryEncoding encoding_;
  DataFileOptions options_;
  std::optional<CodePageConverter> converter_;
  HuffmanStatistics statistics_;
  std::unique_ptr<HuffmanEncoder> huffman_;
  DataFileWriter writer_;
  std::string text_;
  uint64_t textBytes_ = 0;
};

}  // namespace orvia::compile
