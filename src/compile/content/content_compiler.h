// The data half of the dictionary compiler: writes each entry's content text (see
// entry_text.h) into the dictionary's data file as the entries are read, in source
// order, so that an entry's offset is known at once. With the default coding, entries
// made from one source text share its records: an entry that is the text alone points
// at records already written, and one with its headword's line first gets a record of
// that line going on into them. A text of one entry only is written whole, in one
// record, so reading it opens one file. Only shared texts are kept while compiling.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "compile/content/content_checksums.h"
#include "compile/content/data_file_writer.h"
#include "compile/content/entry_text.h"
#include "compile/content/huffman_encoder.h"
#include "compile/source/source_entry.h"
#include "text/code_page.h"

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

  // Starts the data file that goes to path on commit.
  bool create(const std::string& path);
  // Makes entry's text and sets *offset to where its first record will lie; false
  // when the entry has no text.
  bool prepare(const SourceEntry& entry, uint32_t* offset);
  // Writes the prepared entry's records, if it needs any of its own; *offset is where
  // its first record lies.
  bool write(uint32_t* offset);
  // Completes and closes the data files.
  bool finish();
  // The checksums of the texts written, by their first record's offset.
  ContentChecksums& checksums() { return checksums_; }
  // Puts the finished data files in place of any earlier ones; until then those stay.
  bool commit() { return writer_.commit(); }

  const DataFileTally& tally() const { return writer_.tally(); }
  std::vector<std::string> furtherFileNames() const { return writer_.furtherFileNames(); }
  // Why a write failed when the data file's layout had no room left for it; else empty.
  const std::string& problem() const { return writer_.problem(); }
  uint64_t textBytes() const { return textBytes_; }            // converted texts, before coding
  uint64_t sharingEntries() const { return sharingEntries_; }  // entries on others' records

 private:
  // Where a text's records already lie: as an entry's first record in the main file,
  // and where a head can go on into them.
  struct WrittenText {
    std::optional<uint32_t> entryOffset;
    std::optional<RecordPlace> continuation;
  };
  enum class Plan { kWhole, kReuse, kHeadOnto, kHeadAndBody };

  bool makeText(const SourceEntry& entry);
  bool writeRecords(uint32_t* offset);
  bool sharing() const { return encoding_ == EntryEncoding::kSmallest && !options_.standalone; }

  EntryEncoding encoding_;
  DataFileOptions options_;
  std::optional<text::CodePageConverter> converter_;
  HuffmanStatistics statistics_;
  std::unique_ptr<HuffmanEncoder> huffman_;
  DataFileWriter writer_;
  EntryText text_;
  Plan plan_ = Plan::kWhole;
  WrittenText* written_ = nullptr;  // the prepared body's entry in writtenTexts_
  std::unordered_map<std::string, WrittenText> writtenTexts_;
  // How many entries each text serves, by its hash: a collision only costs a text
  // shared that need not be.
  std::unordered_map<size_t, uint32_t> bodyUses_;
  std::string whole_;
  uint64_t textBytes_ = 0;
  uint64_t sharingEntries_ = 0;
  ContentChecksums checksums_;
};

}  // namespace orvia::compile
