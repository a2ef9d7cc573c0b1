#include "entry_text.h"

#include <vector>

namespace orviadic {
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

}  // namespace

std::string renderEntry(const std::string& utf8, bool emphasis) {
  std::string text = utf8;
  if (text.size() >= 2 && text.compare(text.size() - 2, 2, "~!") == 0) text.resize(text.size() - 2);
  std::vector<std::string> lines = linesOf(text);
  while (!lines.empty() && lines.back().empty()) lines.pop_back();
  std::string out;
  for (size_t i = 0; i < lines.size(); ++i) {
    const std::string& line = lines[i];
    if (isTagged(line))
      out += renderTagged(line);
    else
      out += i == 0 && emphasis ? "\033[1m" + line + "\033[0m" : line;
    out += '\n';
  }
  return out;
}

}  // namespace orviadic
