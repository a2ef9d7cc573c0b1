#include "text/key_fold.h"

#include "text/ascii_fold.h"

namespace orvia::text {
namespace {

bool isWhiteSpace(char c) {
  return c == ' ' || (c >= '\t' && c <= '\r');
}

}  // namespace

bool keysFoldToAscii(uint32_t languageCode) {
  return languageCode == 1 || (languageCode >= 6 && languageCode <= 9);
}

std::string collapseWhiteSpace(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  bool pendingSpace = false;
  for (char c : text) {
    if (isWhiteSpace(c)) {
      pendingSpace = !out.empty();
      continue;
    }
    if (pendingSpace) out += ' ';
    pendingSpace = false;
    out += c;
  }
  return out;
}

bool keyWord(uint32_t languageCode, const std::string& codePageWord, std::string* out) {
  *out = collapseWhiteSpace(codePageWord);
  if (!keysFoldToAscii(languageCode)) return true;
  std::string folded;
  if (!foldToAscii(*out, &folded)) return false;
  *out = std::move(folded);
  return true;
}

}  // namespace orvia::text
