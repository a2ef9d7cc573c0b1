// The data files of one dictionary held open across a walk over many of its records (a
// verifier, a converter): each file is opened once, its file-index entries resolved once
// and its Huffman trees derived once, and the record read last is kept, so that reading
// a record's size and then its text reads it once. The exports open their files per call
// instead and do not use this.
//
// Reads through a set give the results of reads that open the files anew, as the files
// stood when the set first opened them: a file is opened when a walk first reaches it,
// and one that cannot be opened then (missing, say) fails that read and is tried again
// by the next. Not for use by several threads at once.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "base/result.h"
#include "content/file_access.h"
#include "content/file_index.h"
#include "content/huffman_decoder.h"
#include "dict/heap_buffer.h"

namespace orvia::content {

class DataFileSet {
 public:
  // resolve turns file-index entries that name a dictionary id and a file name into paths.
  explicit DataFileSet(DictPathResolver resolve);
  // Resolves through the configuration's resolveDictFilePath.
  DataFileSet();
  ~DataFileSet();  // closes every file of the set
  DataFileSet(const DataFileSet&) = delete;
  DataFileSet& operator=(const DataFileSet&) = delete;

  // The file at path, opened for reading when first asked for; kInvalidFile when it
  // cannot be opened. The set owns the handle.
  FileHandle open(const char* path);

  // The functions below take a file of this set; for any other handle they fail.

  // The file that entry k of file's file-index table names, opened as open() does, and
  // its path in *path (valid while the set lives); kInvalidFile when the entry does not
  // resolve (resolveFileIndexEntry) or the file cannot be opened.
  FileHandle further(FileHandle file, uint32_t k, const char** path);
  // The decoder of file's Huffman trees, or null when they cannot be read; *usable as
  // loadHuffmanTrees gives it. Valid while the set lives.
  const HuffmanDecoder* huffmanTrees(FileHandle file, bool* usable);
  // The record at offset of file, read whole as readRecordAt reads it, in *bytes (valid
  // until the next call of record()).
  Status record(FileHandle file, uint32_t offset, const uint8_t** bytes);
  // The header word of the record at offset of file, from the record kept by record()
  // when it is that one; false when it cannot be read.
  bool recordHeader(FileHandle file, uint32_t offset, uint32_t* header);

 private:
  struct File;
  File* find(FileHandle handle);

  DictPathResolver resolve_;
  std::vector<std::unique_ptr<File>> files_;
  // The record read last and where it lies; keptFile_ is null while none is kept.
  File* keptFile_ = nullptr;
  uint32_t keptOffset_ = 0;
  HeapBuffer kept_;
};

}  // namespace orvia::content
