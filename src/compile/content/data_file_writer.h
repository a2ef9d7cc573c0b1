// Writes a data file: the file-index table, the Huffman tree sizes and trees, then the
// content records of one entry after another. Entries longer than one record may hold
// become continuation chains. A continuation must start in the first 16 MiB of its
// file, so once the main file has passed that, continuations go into further data files
// beside it, named in the file-index table.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "compile/content/huffman_encoder.h"
#include "platform/file.h"

namespace orvia::compile {

struct DataFileOptions {
  // The dictionary whose directory holds the further files; the file-index entries name
  // them by this id and their file name. 0 writes their full paths instead.
  uint32_t dictId = 0;
  // The longest text piece one record codes.
  uint32_t maxPieceSize = 1u << 20;
  // Continuations start below this offset of their file.
  uint32_t continuationLimit = 0xFFFFFF;
  // Every entry one record that reads alone, for records copied byte for byte into
  // another data file: no continuation (a longer entry fails) and no Huffman code, whose
  // trees stay behind in this file.
  bool standalone = false;
};

enum class EntryEncoding {
  kStored,
  kLzw,
  kMasked,
  kHuffman,
  kLzwSized,
  kComposite,  // nested records of the smallest codings
  kSmallest,   // the smallest of the single codings
};

// Where a record lies: file 0 is the main file, further files follow in creation order.
struct RecordPlace {
  uint32_t file = 0;
  uint32_t offset = 0;
};

// What the writer has written so far.
struct DataFileTally {
  uint64_t records[256] = {};  // records by content type, continuations included
  uint64_t storedInstead =
      0;               // records stored because the chosen single coding could not code them
  uint64_t bytes = 0;  // size of the main file and the further files together
};

class DataFileWriter {
 public:
  DataFileWriter() = default;
  DataFileWriter(const DataFileWriter&) = delete;
  DataFileWriter& operator=(const DataFileWriter&) = delete;
  ~DataFileWriter();

  // Starts the main file at path. Every file is written beside its name with ".part"
  // added, so the files of a dictionary in use stay as they are until commit. huffman
  // may be null: no record is then Huffman-coded.
  bool create(const std::string& path, const HuffmanEncoder* huffman,
              const DataFileOptions& options);

  // Appends an entry and sets *offset to its first record's offset in the main file.
  // The text must end with CR LF "~!", the end marker. A piece the chosen coding cannot
  // code is stored instead, and only a chain's last piece can be Huffman-coded (the
  // decoder stops at the "~!"); so the text read back never depends on the choice.
  bool addEntry(const uint8_t* text, uint32_t size, EntryEncoding encoding, uint32_t* offset);
  // The same for an entry whose head goes on at next, where continuations can reach;
  // the head need not end with the end marker.
  bool addEntryHead(const uint8_t* head, uint32_t size, EntryEncoding encoding, RecordPlace next,
                    uint32_t* offset);
  // Appends an entry of a head and a body ending with the end marker, the body's records
  // where continuations can reach them, so later heads can go on at *bodyPlace.
  bool addEntryWithBody(const uint8_t* head, uint32_t headSize, const uint8_t* body,
                        uint32_t bodySize, EntryEncoding encoding, uint32_t* offset,
                        RecordPlace* bodyPlace);
  // Whether a continuation can start at place.
  bool reachable(RecordPlace place) const {
    return place.file != 0 || place.offset < options_.continuationLimit;
  }

  // Where the next entry's first record goes in the main file.
  uint32_t nextOffset() const { return files_.empty() ? 0 : files_[0].end; }

  // Writes the file-index tables and closes every file.
  bool finish();
  // Gives every finished file its name, replacing the file there: the further files
  // first, the main file last, stopping at the first that fails. Files not committed
  // are removed when the writer goes.
  bool commit();

  // Names of the further files written so far, for callers that ship them.
  std::vector<std::string> furtherFileNames() const;

  const DataFileTally& tally() const { return tally_; }
  // Why an add failed when the layout had no room left for it (a failing file leaves it
  // empty).
  const std::string& problem() const { return problem_; }

 private:
  struct File {
    std::string path;  // where it goes on commit
    std::string name;
    std::unique_ptr<platform::File> handle;  // null once finished
    uint32_t end = 0;
    std::vector<uint32_t> targets;  // files named by the table, in entry order
  };

  bool openFile(const std::string& path, const std::string& name);
  // *storedInstead: the chosen single coding could not code the piece.
  bool encodePiece(const uint8_t* text, uint32_t size, EntryEncoding encoding, bool last,
                   std::vector<uint8_t>* record, bool* storedInstead) const;
  bool smallest(const uint8_t* text, uint32_t size, bool last, std::vector<uint8_t>* record) const;
  uint32_t fileForContinuation();
  // A run of text coded as one or more records of at most maxPieceSize bytes each.
  struct Piece {
    const uint8_t* text;
    uint32_t size;
    bool inMainFile;  // else where continuations go
  };
  void appendPieces(const uint8_t* text, uint32_t size, bool firstInMainFile,
                    std::vector<Piece>* pieces) const;
  // Writes the pieces as a chain of records; the last one goes on at *next when next is
  // given. places gets each piece's place.
  bool addChain(const std::vector<Piece>& pieces, EntryEncoding encoding, const RecordPlace* next,
                std::vector<RecordPlace>* places);
  bool reference(uint32_t from, uint32_t to, uint32_t offset, uint32_t* ref);
  bool writeTable(const File& file) const;

  const HuffmanEncoder* huffman_ = nullptr;
  DataFileOptions options_;
  std::string directory_;
  std::vector<File> files_;
  bool committed_ = false;
  DataFileTally tally_;
  std::string problem_;
};

}  // namespace orvia::compile
