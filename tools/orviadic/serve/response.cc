#include "serve/response.h"

#include <algorithm>
#include <cstdint>

#include "serve/connection_state.h"

namespace orviadic::serve {
namespace {

constexpr char kMimeHeaders[] =
    "Content-type: text/plain; charset=utf-8\r\nContent-transfer-encoding: 8bit\r\n\r\n";

// The start of the character at or before text[at], at most at; at itself where stray
// continuation bytes reach back to the start.
size_t characterStart(std::string_view text, size_t at) {
  size_t start = at;
  while (start > 0 && (uint8_t(text[start]) & 0xC0) == 0x80) --start;
  return start == 0 ? at : start;
}

}  // namespace

void Response::status(int code, std::string_view text) {
  // A status line is one line or the client misreads what follows: cut, not wrapped.
  std::string line = std::to_string(code) + " " + std::string(text);
  if (line.size() > kMaxLineSize - 2) line.resize(characterStart(line, kMaxLineSize - 2));
  bytes_ += line + "\r\n";
}

void Response::text(std::string_view text) {
  for (size_t at = 0; at < text.size();) {
    size_t end = text.find('\n', at);
    if (end == std::string_view::npos) end = text.size();
    std::string_view one = text.substr(at, end - at);
    if (!one.empty() && one.back() == '\r') one.remove_suffix(1);
    textLine(one);
    at = end + 1;
  }
  textEnd();
}

void Response::textLine(std::string_view text) {
  beginText();
  line(text);
}

void Response::textEnd() {
  beginText();
  bytes_ += ".\r\n";
  inText_ = false;
}

void Response::beginText() {
  if (inText_) return;
  inText_ = true;
  if (mime_) bytes_ += kMimeHeaders;
}

void Response::line(std::string_view text) {
  do {
    const bool stuffed = !text.empty() && text.front() == '.';
    if (stuffed) bytes_ += '.';
    const size_t room = kMaxLineSize - 2 - (stuffed ? 1 : 0);
    const size_t cut = text.size() > room ? characterStart(text, room) : text.size();
    bytes_.append(text.substr(0, cut));
    bytes_ += "\r\n";
    text.remove_prefix(cut);
  } while (!text.empty());
}

}  // namespace orviadic::serve
