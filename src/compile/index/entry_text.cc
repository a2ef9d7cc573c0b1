#include "compile/index/entry_text.h"

namespace orvia::compile {
namespace {

void appendLine(std::string_view line, bool first, std::string* out) {
  if (!first) *out += "\r\n";
  if (!line.empty() && line[0] == '~') *out += ' ';
  out->append(line.data(), line.size());
}

}  // namespace

bool makeEntryText(std::string_view headword, std::string_view text, CodePageConverter& converter,
                   std::string* out) {
  while (!text.empty() && text.back() == '\n') {
    text.remove_suffix(1);
    if (!text.empty() && text.back() == '\r') text.remove_suffix(1);
  }
  std::string joined;
  joined.reserve(headword.size() + text.size() + text.size() / 32 + 8);
  bool first = true;
  if (text.substr(0, headword.size()) != headword || text.empty()) {
    appendLine(headword, first, &joined);
    first = false;
  }
  for (; !text.empty(); first = false) {
    size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    if (end != std::string_view::npos && !line.empty() && line.back() == '\r')
      line.remove_suffix(1);
    appendLine(line, first, &joined);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
  }
  joined += "\r\n~!";
  return converter.convertReplacing(joined, out);
}

}  // namespace orvia::compile
