#include "match/folded_key.h"

#include "text/ascii_fold.h"

namespace orviadic::match {
namespace {

bool isAsciiLetter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool isWhiteSpace(char c) {
  return c == ' ' || (c >= '\t' && c <= '\r');
}

char lowerAscii(char c) {
  return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
}

// The length of key without an "@" and the digits of a homograph number at its end.
size_t withoutHomographNumber(std::string_view key) {
  size_t end = key.size();
  while (end > 0 && key[end - 1] >= '0' && key[end - 1] <= '9') --end;
  return end > 0 && key[end - 1] == '@' ? end - 1 : key.size();
}

bool allAscii(std::string_view text) {
  for (char c : text)
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  return true;
}

}  // namespace

void foldKey(std::string_view key, bool asciiSpelling, std::string* out) {
  out->clear();
  key = key.substr(0, withoutHomographNumber(key));
  // Most keys are ASCII already; only the others pay for the fold.
  if (asciiSpelling && !allAscii(key) && orvia::text::foldToAscii(key, out)) {
    for (char& c : *out) c = lowerAscii(c);
    return;
  }
  out->resize(key.size());
  for (size_t i = 0; i < key.size(); ++i) (*out)[i] = lowerAscii(key[i]);
}

std::string significantPart(std::string_view folded) {
  std::string out;
  for (char c : folded)
    if (isAsciiLetter(c) || isWhiteSpace(c)) out += lowerAscii(c);
  return out;
}

}  // namespace orviadic::match
