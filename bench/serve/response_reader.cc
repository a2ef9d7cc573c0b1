#include "response_reader.h"

#include <cstring>

namespace orvia::bench {
namespace {

// Statuses that a text ending in a line of one "." follows.
bool opensText(int status) {
  return (status >= 110 && status <= 114) || status == 151 || status == 152;
}

bool isDigit(char c) {
  return c >= '0' && c <= '9';
}

}  // namespace

void ResponseReader::reset() {
  partial_.clear();
  response_ = DictResponse();
  textOf_ = 0;
  announcedBy_ = 0;
}

ResponseReader::Progress ResponseReader::feed(std::string_view bytes, size_t* used) {
  size_t at = 0;
  while (at < bytes.size()) {
    const void* found = std::memchr(bytes.data() + at, '\n', bytes.size() - at);
    size_t end = found == nullptr
                     ? bytes.size()
                     : static_cast<size_t>(static_cast<const char*>(found) - bytes.data());
    if (partial_.size() + (end - at) > kMaxLine) return Progress::kMalformed;
    if (found == nullptr) {
      partial_.append(bytes.substr(at));
      break;
    }
    std::string_view line = bytes.substr(at, end - at);
    if (!partial_.empty()) {
      partial_.append(line);
      line = partial_;
    }
    // The protocol ends lines with CR LF; a bare LF is taken too.
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    at = end + 1;
    Progress progress = takeLine(line);
    partial_.clear();
    if (progress != Progress::kMore) {
      *used = at;
      return progress;
    }
  }
  *used = bytes.size();
  return Progress::kMore;
}

ResponseReader::Progress ResponseReader::takeLine(std::string_view line) {
  if (textOf_ == 0) return takeStatus(line);
  if (line == ".") {
    textOf_ = 0;
  } else if (textOf_ == 152) {
    ++response_.matches;
  }
  return Progress::kMore;
}

ResponseReader::Progress ResponseReader::takeStatus(std::string_view line) {
  if (line.size() < 3 || !isDigit(line[0]) || !isDigit(line[1]) || !isDigit(line[2]) ||
      (line.size() > 3 && line[3] != ' '))
    return Progress::kMalformed;
  int status = (line[0] - '0') * 100 + (line[1] - '0') * 10 + (line[2] - '0');
  if (status < 100 || status >= 600) return Progress::kMalformed;
  if (status == 150 || status == 152) {
    int count = 0;
    size_t i = 4;
    for (; i < line.size() && isDigit(line[i]) && count < 1000000; ++i)
      count = count * 10 + (line[i] - '0');
    if (i == 4) return Progress::kMalformed;  // the count is the reply's first word
    response_.announced = count;
    announcedBy_ = status;
  }
  if (status == 151) ++response_.definitions;
  if (opensText(status)) textOf_ = status;
  if (status < 200) return Progress::kMore;
  // A success must deliver what it announced.
  int delivered = announcedBy_ == 150 ? response_.definitions : response_.matches;
  if (status == 250 && announcedBy_ != 0 && delivered != response_.announced)
    return Progress::kMalformed;
  response_.status = status;
  return Progress::kDone;
}

}  // namespace orvia::bench
