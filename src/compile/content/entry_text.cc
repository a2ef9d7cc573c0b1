#include "compile/content/entry_text.h"

namespace orvia::compile {
namespace {

void appendLine(std::string_view line, bool first, std::string* out) {
  if (!first) *out += "\r\n";
  if (!line.empty() && line[0] == '~') *out += ' ';
  out->append(line.data(), line.size());
}

}  // namespace

bool makeEntryText(std::string_view headword, std::string_view text,
                   text::CodePageConverter& converter, EntryText* out) {
  while (!text.empty() && text.back() == '\n') {
    text.remove_suffix(1);
    if (!text.empty() && text.back() == '\r') text.remove_suffix(1);
  }
  // The parts are converted apart: they split at a line end, which no character spans.
  const bool headLine = text.empty() || text.substr(0, headword.size()) != headword;
  std::string joined;
  out->head.clear();
  if (headLine) appendLine(headword, true, &joined);
  if (headLine && !text.empty()) {
    joined += "\r\n";
    if (!converter.convertReplacing(joined, &out->head)) return false;
    joined.clear();
  }
  bool first = joined.empty();
  joined.reserve(text.size() + text.size() / 32 + 8);
  for (; !text.empty(); first = false) {
    size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    if (end != std::string_view::npos && !line.empty() && line.back() == '\r')
      line.remove_suffix(1);
    appendLine(line, first, &joined);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
  }
  joined += "\r\n~!";
  return converter.convertReplacing(joined, &out->body);
}

bool makeEntryText(std::string_view headword, std::string_view text,
                   text::CodePageConverter& converter, std::string* out) {
  EntryText parts;
  if (!makeEntryText(headword, text, converter, &parts)) return false;
  *out = std::move(parts.head);
  *out += parts.body;
  return true;
}

}  // namespace orvia::compile
