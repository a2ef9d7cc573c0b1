// Writes a new-word file: the new entries of a source compiled for a target dictionary,
// as an index image (a whole store file) and a content image (a whole data file) behind
// the 40-byte header. The merge copies each content record byte for byte into the
// target's data file, so every record here stands alone: one record per entry, no
// continuation, no Huffman code, no text shared between entries.
#pragma once

#include <cstdint>
#include <string>

#include "compile/dictionary_compiler.h"

namespace orvia::compile {

struct NewWordFileOptions {
  uint32_t targetDictId = 0;  // a new-word target: four non-zero bytes, kind not 0x7F, 0xFF
  uint32_t listVersion = 0;   // at most 255
  uint8_t listTime[16] = {};  // written as given
  std::string path;           // the file to write; replaced only once complete
  // Huffman codes become stored records and composites of them, as nothing can travel
  // that needs this file's trees.
  EntryEncoding encoding = EntryEncoding::kSmallest;
};

struct WrittenNewWordFile {
  CompiledIndex index;
  uint64_t entries = 0;  // entries the source gave, skipped ones included
  uint32_t indexImageSize = 0, contentImageSize = 0;
  DataFileTally data;
};

// False, with a one-line reason in *problem, when the options break the format's rules,
// no entry compiles, an entry is too long for one record or the images pass 4 GiB; the
// file at options.path is then as it was.
// REQUIRES: the record store library is linked in.
bool writeNewWordFile(const SourceOpener& open, const NewWordFileOptions& options,
                      WrittenNewWordFile* out, std::string* problem);

}  // namespace orvia::compile
