#include "serve/response.h"

#include <algorithm>
#include <cstdint>

#include "serve/connection_state.h"

namespace orviadic::serve {
namespace {

constexpr char kMimeHeaders[] =
    "Content-type: text/plain; charset=utf-8\r\nContent-transfer-encoding: 8bit\r\n\r\n";

bool continuesCharacter(char byte) {
  return (uint8_t(byte) & 0xC0) == 0x80;
}

}  // namespace

void Response::status(int code, std::string_view text) {
  line(std::to_string(code) + " " + std::string(text), false);
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
  line(text, true);
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

void Response::line(std::string_view text, bool stuffDots) {
  do {
    const bool stuffed = stuffDots && !text.empty() && text.front() == '.';
    if (stuffed) bytes_ += '.';
    size_t room = kMaxLineSize - 2 - (stuffed ? 1 : 0);
    if (text.size() > room) {
      // Cut before a character's first byte; a run of stray continuation bytes as long
      // as the line is cut where it must be.
      size_t cut = room;
      while (cut > 0 && continuesCharacter(text[cut])) --cut;
      room = cut == 0 ? room : cut;
    }
    bytes_.append(text.substr(0, room));
    bytes_ += "\r\n";
    text.remove_prefix(std::min(room, text.size()));
  } while (!text.empty());
}

}  // namespace orviadic::serve
