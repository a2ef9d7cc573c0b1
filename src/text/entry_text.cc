#include "text/entry_text.h"

#include <cstdint>
#include <vector>

#include "text/utf8.h"

namespace orvia::text {
namespace {

std::vector<std::string> linesOf(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    size_t stop = end > start && text[end - 1] == '\r' ? end - 1 : end;
    lines.push_back(text.substr(start, stop - start));
    start = end + 1;
  }
  return lines;
}

bool isTagged(const std::string& line) {
  return line.size() >= 2 && line[0] == '~' &&
         ((line[1] >= 'A' && line[1] <= 'Z') || (line[1] >= 'a' && line[1] <= 'z'));
}

std::string renderTagged(const std::string& line) {
  const std::string rest = line.substr(2);
  const bool bracketed = rest.size() >= 2 && rest.front() == '[' && rest.back() == ']';
  if ((line[1] == 'I' || line[1] == 'J') && bracketed)
    return "(" + rest.substr(1, rest.size() - 2) + ")";
  if (line[1] == 'A') return "Note: " + rest;
  return std::string("[") + line[1] + "] " + rest;
}

int hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// The code point of the reference "&#xHEX;" (or "&#XHEX;") at text[at], and its length;
// 0 when there is none there.
size_t referenceAt(const std::string& text, size_t at, uint32_t* codePoint) {
  if (text.compare(at, 2, "&#") != 0 || at + 2 >= text.size() || (text[at + 2] | 0x20) != 'x')
    return 0;
  uint32_t value = 0;
  size_t i = at + 3;
  for (; i < text.size() && i < at + 9 && hexDigit(text[i]) >= 0; ++i)
    value = value << 4 | uint32_t(hexDigit(text[i]));
  if (i == at + 3 || i >= text.size() || text[i] != ';') return 0;
  if (value == 0 || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return 0;
  *codePoint = value;
  return i + 1 - at;
}

}  // namespace

std::string decodeCharacterReferences(const std::string& utf8) {
  std::string out;
  out.reserve(utf8.size());
  for (size_t i = 0; i < utf8.size();) {
    uint32_t codePoint = 0;
    const size_t length = utf8[i] == '&' ? referenceAt(utf8, i, &codePoint) : 0;
    if (length == 0) {
      out += utf8[i++];
      continue;
    }
    appendUtf8(codePoint, &out);
    i += length;
  }
  return out;
}

std::string renderEntry(const std::string& utf8) {
  std::string text = utf8;
  if (text.size() >= 2 && text.compare(text.size() - 2, 2, "~!") == 0) text.resize(text.size() - 2);
  std::vector<std::string> lines = linesOf(text);
  while (!lines.empty() && lines.back().empty()) lines.pop_back();
  std::string out;
  for (const std::string& line : lines) {
    out += isTagged(line) ? renderTagged(line) : line;
    out += '\n';
  }
  // Decoded last, so that a decoded character never reads as a tag or a line end.
  return decodeCharacterReferences(out);
}

}  // namespace orvia::text
