#include "exchange_file.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>

namespace orviadic {
namespace {

using namespace orvia::update;

// Reads little-endian u32s from the file's bytes, remembering the first that is missing.
class Cursor {
 public:
  explicit Cursor(const std::string& bytes) : bytes_(bytes) {}
  uint64_t at = 0;
  bool fits(uint64_t count) const { return at + count <= bytes_.size(); }
  uint32_t u32() {
    const auto* p = reinterpret_cast<const uint8_t*>(bytes_.data() + at);
    at += 4;
    return orvia::loadU32Le(p);
  }
  void header(uint8_t (&out)[16]) {
    for (uint8_t& byte : out) byte = uint8_t(bytes_[at++]);
  }

 private:
  const std::string& bytes_;
};

std::string itemProblem(Cursor* in, uint64_t end) {
  if (!in->fits(4) || in->at + 4 > end) return "its length field runs past the section";
  const uint32_t keyLength = in->u32();
  if (keyLength == 0) return "";
  if (keyLength > kMaxKeyAreaLength)
    return "a key area of " + std::to_string(keyLength) + " bytes, over 1000";
  if (in->at + keyLength + 4 > end) return "its key area runs past the section";
  in->at += keyLength;
  const uint32_t contentLength = in->u32();
  if (contentLength == 0) return "a text length of 0";
  if (in->at + contentLength > end) return "its text runs past the section";
  in->at += contentLength;
  return "";
}

std::string sectionProblem(Cursor* in, const OwnerWordSectionHeader& section, uint64_t start) {
  const uint64_t end = start + section.length;
  if (section.length < kOwnerWordSectionHeaderSize || !in->fits(section.length - 16))
    return "its length " + std::to_string(section.length) + " runs past the end of the file";
  const uint64_t items = uint64_t(section.recordCount) + section.memoryCount;
  for (uint64_t i = 0; i < items; ++i) {
    const uint64_t at = in->at;
    const std::string problem = itemProblem(in, end);
    if (!problem.empty())
      return "item " + std::to_string(i) + " at offset " + std::to_string(at) + ": " + problem;
  }
  if (in->at != end)
    return "its items end at offset " + std::to_string(in->at) + ", its length says " +
           std::to_string(end);
  return "";
}

std::string fileProblem(const std::string& bytes, ExchangeFileReport* report) {
  Cursor in(bytes);
  if (!in.fits(kOwnerWordHeaderSize)) return "shorter than the 16-byte header";
  uint8_t raw[16];
  in.header(raw);
  report->header = decodeFileHeader(raw);
  if (report->header.magic != kOwnerWordMagic) return "the magic is not FWOS";
  if (report->header.version != kOwnerWordVersion)
    return "version " + std::to_string(report->header.version) + ", not 1";
  if (report->header.sectionCount == 0) return "no sections";
  if (report->header.totalSize != bytes.size())
    return "the stored size is " + std::to_string(report->header.totalSize) + " bytes, the file " +
           std::to_string(bytes.size());
  for (uint32_t s = 0; s < report->header.sectionCount; ++s) {
    const uint64_t start = in.at;
    const std::string where =
        "section " + std::to_string(s) + " at offset " + std::to_string(start);
    if (!in.fits(kOwnerWordSectionHeaderSize)) return where + ": its header runs past the end";
    in.header(raw);
    report->sections.push_back(decodeSectionHeader(raw));
    const std::string problem = sectionProblem(&in, report->sections.back(), start);
    if (!problem.empty()) {
      std::string message = where + ": ";
      return message.append(problem);
    }
  }
  if (in.at != bytes.size()) return "bytes after the last section";
  return "";
}

}  // namespace

ExchangeFileReport checkExchangeFile(const std::string& path) {
  ExchangeFileReport report;
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    report.problem = "cannot read " + path + ": " + std::strerror(errno);
    return report;
  }
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  report.problem = fileProblem(bytes, &report);
  return report;
}

}  // namespace orviadic
