#include "compile/content/data_file_writer.h"

#include <algorithm>
#include <cstring>

#include "base/bytes.h"
#include "compile/content/content_record_encoder.h"
#include "compile/content/further_files.h"
#include "content/content_format.h"

namespace orvia::compile {
namespace {

using namespace orvia::content;

constexpr char kEndMarker[] = "\r\n~!";
constexpr uint32_t kCompositeParts = 3;

bool endsWithMarker(const uint8_t* text, uint32_t size) {
  return size >= 4 && std::memcmp(text + size - 4, kEndMarker, 4) == 0;
}

std::string partPath(const std::string& path) {
  return path + ".part";
}

}  // namespace

DataFileWriter::~DataFileWriter() {
  for (File& f : files_) {
    f.handle.reset();
    if (!committed_) platform::removeFile(partPath(f.path).c_str());
  }
}

bool DataFileWriter::openFile(const std::string& path, const std::string& name) {
  File file;
  file.path = path;
  file.name = name;
  file.handle = platform::openFile(partPath(path).c_str(), platform::FileMode::kCreateTruncate);
  if (file.handle == nullptr) return false;
  // The table is written at the end; the trees go in every file so that Huffman records
  // can be continuations too.
  std::vector<uint8_t> head(kTreesOffset, 0);
  for (uint32_t t = 0; t < kHuffmanTreeCount; ++t) {
    const auto* tree = huffman_ != nullptr ? &huffman_->treeBytes(t) : nullptr;
    storeU16Le(head.data() + kTreeSizesOffset + 2 * t,
               tree != nullptr ? uint16_t(tree->size()) : 0);
    if (tree != nullptr) head.insert(head.end(), tree->begin(), tree->end());
  }
  file.end = uint32_t(head.size());
  tally_.bytes += file.end;
  bool written = file.handle->writeAt(0, head.data(), head.size());
  files_.push_back(std::move(file));
  return written;
}

bool DataFileWriter::create(const std::string& path, const HuffmanEncoder* huffman,
                            const DataFileOptions& options) {
  options_ = options;
  huffman_ = options_.standalone ? nullptr : huffman;
  if (options_.maxPieceSize == 0) return false;
  // A same-file reference to 0xFFFFFF would read as "no continuation".
  if (options_.continuationLimit > kMaxContinuationOffset) {
    options_.continuationLimit = kMaxContinuationOffset;
  }
  size_t slash = path.find_last_of("/\\");
  directory_ = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
  return openFile(path, path.substr(slash == std::string::npos ? 0 : slash + 1));
}

bool DataFileWriter::smallest(const uint8_t* text, uint32_t size, bool last,
                              std::vector<uint8_t>* record) const {
  static constexpr ContentType kTypes[] = {kStoredContent, kLzwContent, kHuffmanContent,
                                           kLzwSizedContent};
  bool found = false;
  for (ContentType type : kTypes) {
    if (type == kHuffmanContent && !last) continue;
    std::vector<uint8_t> candidate;
    RecordEncoding encoding;
    encoding.type = type;
    encoding.huffman = huffman_;
    if (!encodeContentRecord(encoding, text, size, &candidate)) continue;
    if (!found || candidate.size() < record->size()) *record = std::move(candidate);
    found = true;
  }
  return found;
}

bool DataFileWriter::encodePiece(const uint8_t* text, uint32_t size, EntryEncoding encoding,
                                 bool last, std::vector<uint8_t>* record,
                                 bool* storedInstead) const {
  record->clear();
  *storedInstead = false;
  if (encoding == EntryEncoding::kSmallest) return smallest(text, size, last, record);
  if (encoding == EntryEncoding::kComposite) {
    uint32_t parts = size < kCompositeParts ? 1 : kCompositeParts;
    std::vector<std::vector<uint8_t>> nested(parts);
    uint32_t done = 0;
    for (uint32_t p = 0; p < parts; ++p) {
      uint32_t count = p + 1 == parts ? size - done : size / parts;
      if (!smallest(text + done, count, last && p + 1 == parts, &nested[p])) return false;
      done += count;
    }
    return encodeCompositeRecord(nested, record);
  }
  static constexpr ContentType kTypes[] = {kStoredContent, kLzwContent, kMaskedContent,
                                           kHuffmanContent, kLzwSizedContent};
  RecordEncoding chosen;
  chosen.type = kTypes[int(encoding)];
  chosen.huffman = huffman_;
  if (chosen.type != kHuffmanContent || last) {
    if (encodeContentRecord(chosen, text, size, record)) return true;
  }
  *storedInstead = chosen.type != kStoredContent;
  chosen.type = kStoredContent;
  return encodeContentRecord(chosen, text, size, record);
}

uint32_t DataFileWriter::fileForContinuation() {
  if (files_[0].end < options_.continuationLimit) return 0;
  if (files_.size() > 1 && files_.back().end < options_.continuationLimit) {
    return uint32_t(files_.size() - 1);
  }
  const uint32_t sequence = uint32_t(files_.size() - 1);
  if (sequence == kMaxFurtherFiles) {
    problem_ =
        "the content needs more than " + std::to_string(kMaxFurtherFiles) + " further data files";
    return kNoContinuation;
  }
  std::string name = furtherFileName(options_.dictId, sequence);
  if (!openFile(directory_ + name, name)) return kNoContinuation;
  return uint32_t(files_.size() - 1);
}

bool DataFileWriter::reference(uint32_t from, uint32_t to, uint32_t offset, uint32_t* ref) {
  if (from == to) {
    *ref = (kSameFileReference << 24) | offset;
    return true;
  }
  std::vector<uint32_t>& targets = files_[from].targets;
  uint32_t k = 0;
  while (k < targets.size() && targets[k] != to) ++k;
  if (k == targets.size()) {
    if (k >= kSameFileReference) return false;
    targets.push_back(to);
  }
  *ref = (k << 24) | offset;
  return true;
}

void DataFileWriter::appendPieces(const uint8_t* text, uint32_t size, bool firstInMainFile,
                                  std::vector<Piece>* pieces) const {
  for (uint64_t start = 0; start < size; start += options_.maxPieceSize) {
    const uint32_t count = uint32_t(std::min<uint64_t>(size - start, options_.maxPieceSize));
    pieces->push_back({text + start, count, start == 0 && firstInMainFile});
  }
}

bool DataFileWriter::addChain(const std::vector<Piece>& pieces, EntryEncoding encoding,
                              const RecordPlace* next, std::vector<RecordPlace>* places) {
  if (files_.empty() || pieces.empty()) return false;
  const size_t count = pieces.size();
  std::vector<std::vector<uint8_t>> records(count);
  uint32_t storedInstead = 0;
  for (size_t i = 0; i < count; ++i) {
    const bool endsText = i + 1 == count && next == nullptr;
    bool stored = false;
    if (!encodePiece(pieces[i].text, pieces[i].size, encoding, endsText, &records[i], &stored))
      return false;
    storedInstead += stored;
  }
  // Place every record first: each one's reference names where the next one lands.
  places->resize(count);
  for (size_t i = 0; i < count; ++i) {
    uint32_t f = pieces[i].inMainFile ? 0 : fileForContinuation();
    if (f == kNoContinuation || uint64_t(files_[f].end) + records[i].size() > 0xFFFFFFFFu) {
      return false;
    }
    (*places)[i] = {f, files_[f].end};
    files_[f].end += uint32_t(records[i].size());
  }
  for (size_t i = 0; i < count; ++i) {
    const RecordPlace* following = i + 1 < count ? &(*places)[i + 1] : next;
    if (following != nullptr) {
      uint32_t ref;
      if (!reference((*places)[i].file, following->file, following->offset, &ref)) return false;
      setContinuation(&records[i], ref);
    }
    const RecordPlace& place = (*places)[i];
    uint32_t length = uint32_t(records[i].size());
    if (!files_[place.file].handle->writeAt(place.offset, records[i].data(), length)) return false;
    ++tally_.records[records[i][3]];
    tally_.bytes += length;
  }
  tally_.storedInstead += storedInstead;
  return true;
}

bool DataFileWriter::addEntry(const uint8_t* text, uint32_t size, EntryEncoding encoding,
                              uint32_t* offset) {
  if (!endsWithMarker(text, size)) return false;
  std::vector<Piece> pieces;
  std::vector<RecordPlace> places;
  appendPieces(text, size, true, &pieces);
  if (options_.standalone && pieces.size() > 1) {
    problem_ = "an entry is too long for one record";
    return false;
  }
  if (!addChain(pieces, encoding, nullptr, &places)) return false;
  *offset = places[0].offset;
  return true;
}

bool DataFileWriter::addEntryHead(const uint8_t* head, uint32_t size, EntryEncoding encoding,
                                  RecordPlace next, uint32_t* offset) {
  if (next.file >= files_.size() || !reachable(next)) return false;
  std::vector<Piece> pieces;
  std::vector<RecordPlace> places;
  appendPieces(head, size, true, &pieces);
  if (!addChain(pieces, encoding, &next, &places)) return false;
  *offset = places[0].offset;
  return true;
}

bool DataFileWriter::addEntryWithBody(const uint8_t* head, uint32_t headSize, const uint8_t* body,
                                      uint32_t bodySize, EntryEncoding encoding, uint32_t* offset,
                                      RecordPlace* bodyPlace) {
  if (!endsWithMarker(body, bodySize)) return false;
  std::vector<Piece> pieces;
  std::vector<RecordPlace> places;
  appendPieces(head, headSize, true, &pieces);
  const size_t headPieces = pieces.size();
  appendPieces(body, bodySize, false, &pieces);
  if (headPieces == 0 || pieces.size() == headPieces) return false;
  if (!addChain(pieces, encoding, nullptr, &places)) return false;
  *offset = places[0].offset;
  *bodyPlace = places[headPieces];
  return true;
}

bool DataFileWriter::writeTable(const File& file) const {
  std::vector<uint8_t> table(kFileIndexTableOffset + file.targets.size() * kFileIndexEntrySize, 0);
  table[kFileIndexCountOffset] = uint8_t(file.targets.size());
  for (size_t k = 0; k < file.targets.size(); ++k) {
    uint8_t* entry = table.data() + kFileIndexTableOffset + k * kFileIndexEntrySize;
    const File& target = files_[file.targets[k]];
    if (options_.dictId == 0) {
      if (target.path.empty() || target.path.size() >= kFileIndexEntrySize) return false;
      // The table is zero-filled and the path shorter than its entry: the zero stays.
      // NOLINTNEXTLINE(bugprone-not-null-terminated-result)
      std::memcpy(entry, target.path.data(), target.path.size());
    } else {
      storeU32Le(entry + kFileIndexIdOffset, options_.dictId);
      // NOLINTNEXTLINE(bugprone-not-null-terminated-result): zero-filled as above
      std::memcpy(entry + kFileIndexNameOffset, target.name.data(), target.name.size());
    }
  }
  return file.handle->writeAt(0, table.data(), table.size());
}

bool DataFileWriter::finish() {
  bool ok = !files_.empty();
  for (File& f : files_) {
    ok = f.handle != nullptr && writeTable(f) && ok;
    f.handle.reset();
  }
  return ok;
}

bool DataFileWriter::commit() {
  for (const File& f : files_) {
    if (f.handle != nullptr) return false;
  }
  bool ok = !files_.empty();
  // The main file last: a failure part way leaves it, and every entry that does not go
  // on into a further file, as it was.
  for (auto f = files_.rbegin(); f != files_.rend(); ++f) {
    ok = ok && platform::replaceFile(partPath(f->path).c_str(), f->path.c_str());
  }
  committed_ = ok;
  return ok;
}

std::vector<std::string> DataFileWriter::furtherFileNames() const {
  std::vector<std::string> names;
  for (size_t i = 1; i < files_.size(); ++i) names.push_back(files_[i].name);
  return names;
}

}  // namespace orvia::compile
