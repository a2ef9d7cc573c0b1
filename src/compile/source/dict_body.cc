#include "compile/source/dict_body.h"

#include <zlib.h>

#include <algorithm>

namespace orvia::compile {
namespace {

constexpr uint8_t kGzipFlagHeaderCrc = 0x02, kGzipFlagExtra = 0x04, kGzipFlagName = 0x08,
                  kGzipFlagComment = 0x10;

uint16_t loadU16(const uint8_t* p) {
  return uint16_t(p[0] | p[1] << 8);
}

bool skipZeroTerminated(std::FILE* file) {
  for (int c; (c = std::getc(file)) != EOF;)
    if (c == 0) return true;
  return false;
}

}  // namespace

DictBody::~DictBody() {
  if (gz_ != nullptr) gzclose(static_cast<gzFile>(gz_));
  // Sources are only read: a failed close loses nothing.
  if (file_ != nullptr) static_cast<void>(std::fclose(file_));
}

bool DictBody::fail(std::FILE* file, const std::string& why) {
  if (file != nullptr) static_cast<void>(std::fclose(file));
  chunkStarts_.clear();
  problem_ = why;
  return false;
}

bool DictBody::open(const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return fail(nullptr, "it cannot be opened");
  uint64_t fileSize = 0;
  if (std::fseek(file, 0, SEEK_END) == 0) {
    long end = std::ftell(file);
    fileSize = end > 0 ? uint64_t(end) : 0;
  }
  std::rewind(file);
  uint8_t header[10];
  bool gzip = std::fread(header, 1, sizeof header, file) == sizeof header && header[0] == 0x1F &&
              header[1] == 0x8B && header[2] == 8;
  // zlib reads a file that is not gzip as it is, which would make entries of whatever
  // bytes a ".dz" holds.
  const bool namedCompressed = path.size() > 3 && path.compare(path.size() - 3, 3, ".dz") == 0;
  if (!gzip && namedCompressed)
    return fail(file, "it is not gzip data (no gzip signature 1F 8B 08 at its start)");
  if (gzip && (header[3] & kGzipFlagExtra) != 0) {
    if (!readChunkTable(file, header[3], fileSize)) {
      const uint64_t promised = chunkStarts_.empty() ? 0 : chunkStarts_.back();
      return fail(file, promised > fileSize
                            ? "it is truncated: its chunk table promises " +
                                  std::to_string(promised) + " bytes, the file holds " +
                                  std::to_string(fileSize)
                            : "its gzip header or chunk table is malformed");
    }
    if (hasChunks()) {
      file_ = file;
      return true;
    }
  }
  static_cast<void>(std::fclose(file));
  gz_ = gzopen(path.c_str(), "rb");
  return gz_ != nullptr || fail(nullptr, "it cannot be opened");
}

// Reads the extra field, just after the header's first 10 bytes, and the rest of the
// header; leaves chunkStarts_ empty when the field has no "RA" subfield.
bool DictBody::readChunkTable(std::FILE* file, uint8_t flags, uint64_t fileSize) {
  uint8_t lengthBytes[2];
  if (std::fread(lengthBytes, 1, 2, file) != 2) return false;
  std::vector<uint8_t> extra(loadU16(lengthBytes));
  if (std::fread(extra.data(), 1, extra.size(), file) != extra.size()) return false;
  std::vector<uint16_t> sizes;
  for (size_t at = 0; extra.size() - at >= 4;) {
    const uint16_t length = loadU16(&extra[at + 2]);
    if (length > extra.size() - at - 4) return false;  // a subfield overruns the field
    const uint8_t* data = &extra[at + 4];
    if (extra[at] == 'R' && extra[at + 1] == 'A') {
      if (length < 6 || loadU16(data) != 1) return false;
      chunkSize_ = loadU16(data + 2);
      const uint16_t count = loadU16(data + 4);
      if (chunkSize_ == 0 || length != 6 + 2 * count) return false;
      for (uint16_t i = 0; i < count; ++i) sizes.push_back(loadU16(data + 6 + 2 * i));
    }
    at += 4 + length;
  }
  if (sizes.empty()) return true;
  if ((flags & kGzipFlagName) != 0 && !skipZeroTerminated(file)) return false;
  if ((flags & kGzipFlagComment) != 0 && !skipZeroTerminated(file)) return false;
  if ((flags & kGzipFlagHeaderCrc) != 0 && std::fseek(file, 2, SEEK_CUR) != 0) return false;
  long dataStart = std::ftell(file);
  if (dataStart < 0) return false;
  uint64_t at = uint64_t(dataStart);
  chunkStarts_.push_back(at);
  for (uint16_t size : sizes) {
    at += size;
    chunkStarts_.push_back(at);
  }
  return at <= fileSize;  // else the table promises more than the file holds
}

bool DictBody::inflateChunk(uint64_t index, std::string* out) {
  if (index + 1 >= chunkStarts_.size()) return false;
  compressed_.resize(size_t(chunkStarts_[index + 1] - chunkStarts_[index]));
  if (std::fseek(file_, long(chunkStarts_[index]), SEEK_SET) != 0 ||
      std::fread(compressed_.data(), 1, compressed_.size(), file_) != compressed_.size())
    return false;
  out->resize(chunkSize_);
  z_stream stream{};
  if (inflateInit2(&stream, -MAX_WBITS) != Z_OK) return false;
  stream.next_in = reinterpret_cast<Bytef*>(compressed_.data());
  stream.avail_in = uInt(compressed_.size());
  stream.next_out = reinterpret_cast<Bytef*>(out->data());
  stream.avail_out = uInt(out->size());
  int result = inflate(&stream, Z_SYNC_FLUSH);
  out->resize(out->size() - stream.avail_out);
  inflateEnd(&stream);
  return result == Z_OK || result == Z_STREAM_END || result == Z_BUF_ERROR;
}

const std::string* DictBody::chunk(uint64_t index) {
  for (const KeptChunk& k : kept_)
    if (k.index == index) return &k.bytes;
  KeptChunk& slot = kept_[nextReplaced_];
  nextReplaced_ = (nextReplaced_ + 1) % kept_.size();
  slot.index = UINT64_MAX;
  if (!inflateChunk(index, &slot.bytes)) return nullptr;
  slot.index = index;
  return &slot.bytes;
}

bool DictBody::read(uint32_t offset, uint32_t length, std::string* out) {
  out->clear();
  if (gz_ != nullptr) {
    gzFile body = static_cast<gzFile>(gz_);
    if (gzseek(body, z_off_t(offset), SEEK_SET) != z_off_t(offset)) return false;
    out->resize(length);
    return length == 0 || gzread(body, out->data(), length) == int(length);
  }
  if (file_ == nullptr) return false;
  uint64_t at = offset;
  const uint64_t end = uint64_t(offset) + length;
  while (at < end) {
    const std::string* bytes = chunk(at / chunkSize_);
    const size_t inChunk = size_t(at % chunkSize_);
    if (bytes == nullptr || inChunk >= bytes->size()) return false;  // past the end
    const size_t take = size_t(std::min<uint64_t>(bytes->size() - inChunk, end - at));
    out->append(*bytes, inChunk, take);
    at += take;
  }
  return true;
}

}  // namespace orvia::compile
