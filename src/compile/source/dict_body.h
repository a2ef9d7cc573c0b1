// Random access to a dictd body. dictzip writes a ".dict.dz" as gzip whose deflate stream
// is flushed every chunk of CHLEN bytes, and lists the chunks' compressed sizes in the
// header's "RA" extra field:
//   offset  size  field (inside the FEXTRA area, after the gzip header's 10 bytes + XLEN)
//        0     2  "RA"
//        2     2  LEN = 6 + 2 * CHCNT
//        4     2  VER, 1
//        6     2  CHLEN: uncompressed bytes per chunk (the last may be shorter)
//        8     2  CHCNT
//       10  2*CHCNT  compressed size of each chunk
// Integers are little-endian. The chunks follow the header back to back, each inflated
// on its own. Any other body, a plain ".dict" or gzip without the field, is read through
// zlib's gzseek and gzread, which restart from the start of the stream for every jump
// back.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace orvia::compile {

class DictBody {
 public:
  DictBody() = default;
  ~DictBody();
  DictBody(const DictBody&) = delete;
  DictBody& operator=(const DictBody&) = delete;

  // False, with problem() set, when the file cannot be opened, is named ".dz" but is not
  // gzip data, or has a malformed "RA" field or one that promises more than the file holds.
  bool open(const std::string& path);
  const std::string& problem() const { return problem_; }
  // The length bytes at offset of the uncompressed body; false when they are not all
  // there or a chunk does not inflate.
  bool read(uint32_t offset, uint32_t length, std::string* out);
  // True when the body is read chunk by chunk.
  bool hasChunks() const { return !chunkStarts_.empty(); }

 private:
  bool fail(std::FILE* file, const std::string& why);
  bool readChunkTable(std::FILE* file, uint8_t flags, uint64_t fileSize);
  // The chunk's bytes, inflated now or kept from an earlier read; null on failure.
  const std::string* chunk(uint64_t index);
  bool inflateChunk(uint64_t index, std::string* out);

  void* gz_ = nullptr;         // gzFile, for bodies without chunks
  std::FILE* file_ = nullptr;  // for bodies with chunks
  uint32_t chunkSize_ = 0;
  std::vector<uint64_t> chunkStarts_;  // file offsets; one more entry for the end
  // Entries sorted by headword jump back and forth through the body, so a few recent
  // chunks are kept; they are replaced in turn.
  static constexpr size_t kKeptChunks = 32;
  struct KeptChunk {
    uint64_t index = UINT64_MAX;
    std::string bytes;
  };
  std::vector<KeptChunk> kept_ = std::vector<KeptChunk>(kKeptChunks);
  size_t nextReplaced_ = 0;
  std::string compressed_;
  std::string problem_;
};

}  // namespace orvia::compile
