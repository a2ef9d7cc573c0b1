#include "compile/source/dictd_short_name.h"

#include <filesystem>
#include <sstream>

#include "compile/source/dict_body.h"
#include "compile/source/dictd_index_line.h"
#include "compile/source/line_reader.h"

namespace orvia::compile {
namespace {

bool isShortNameEntry(const std::string& headword) {
  return headword == "00-database-short" || headword == "00databaseshort";
}

std::string trimmed(const std::string& line) {
  const size_t first = line.find_first_not_of(" \t\r");
  if (first == std::string::npos) return std::string();
  return line.substr(first, line.find_last_not_of(" \t\r") - first + 1);
}

}  // namespace

std::optional<std::string> readDictdShortName(const std::string& basePath) {
  LineReader index;
  if (!index.open(basePath + ".index")) return std::nullopt;
  std::optional<DictdIndexLine> entry;
  std::string line;
  for (LineReader::Line read; (read = index.next(&line)) != LineReader::Line::kEnd;) {
    if (read == LineReader::Line::kFailed) return std::nullopt;
    if (read != LineReader::Line::kOk) continue;
    entry = parseDictdIndexLine(line);
    if (entry && isShortNameEntry(entry->headword)) break;
    entry.reset();
  }
  // A name is a line; a longer text is not the entry this looks for.
  constexpr uint32_t kMaxText = 4096;
  if (!entry || entry->length > kMaxText) return std::nullopt;
  std::error_code error;
  std::string bodyPath = basePath + ".dict.dz";
  if (!std::filesystem::exists(bodyPath, error)) bodyPath = basePath + ".dict";
  DictBody body;
  std::string text;
  if (!body.open(bodyPath) || !body.read(entry->offset, entry->length, &text)) return std::nullopt;
  std::istringstream lines(text);
  while (std::getline(lines, line)) {
    const std::string name = trimmed(line);
    if (!name.empty() && !isShortNameEntry(name)) return name;
  }
  return std::nullopt;
}

}  // namespace orvia::compile
