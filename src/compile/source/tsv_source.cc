#include "compile/source/tsv_source.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <optional>
#include <string_view>

namespace orvia::compile {
namespace {

std::vector<std::string_view> splitTabs(std::string_view line) {
  std::vector<std::string_view> fields;
  for (;;) {
    size_t tab = line.find('\t');
    fields.push_back(line.substr(0, tab));
    if (tab == std::string_view::npos) return fields;
    line.remove_prefix(tab + 1);
  }
}

std::optional<TsvSource::Column> columnNamed(std::string_view name) {
  using Column = TsvSource::Column;
  if (name == "headword") return Column::kHeadword;
  if (name == "text") return Column::kText;
  if (name == "display") return Column::kDisplay;
  if (name == "level") return Column::kLevel;
  if (name == "vcode") return Column::kVcode;
  return std::nullopt;
}

// A byte value: decimal, or with allowHex also "0x" and one or two hexadecimal digits.
std::optional<uint8_t> parseByte(std::string_view text, bool allowHex) {
  int base = 10;
  if (allowHex && text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    base = 16;
    text.remove_prefix(2);
  }
  if (text.empty() || text.size() > 3) return std::nullopt;
  unsigned value = 0;
  for (char c : text) {
    int digit = c >= '0' && c <= '9'                 ? c - '0'
                : base == 16 && c >= 'a' && c <= 'f' ? c - 'a' + 10
                : base == 16 && c >= 'A' && c <= 'F' ? c - 'A' + 10
                                                     : -1;
    if (digit < 0) return std::nullopt;
    value = value * unsigned(base) + unsigned(digit);
  }
  if (value > 255) return std::nullopt;
  return uint8_t(value);
}

}  // namespace

std::string unescapeTsvText(const std::string& field) {
  std::string out;
  out.reserve(field.size());
  for (size_t i = 0; i < field.size(); ++i) {
    char c = field[i];
    char next = i + 1 < field.size() ? field[i + 1] : '\0';
    if (c == '\\' && (next == 'n' || next == 't' || next == '\\')) {
      out += next == 'n' ? '\n' : next == 't' ? '\t' : '\\';
      ++i;
    } else {
      out += c;
    }
  }
  return out;
}

bool TsvSource::open(const std::string& path) {
  if (!lines_.open(path)) {
    problem_ = "cannot open " + path + ": " + std::strerror(errno);
    return false;
  }
  return readHeader();
}

bool TsvSource::readHeader() {
  LineReader::Line got = lines_.next(&line_);
  if (got != LineReader::Line::kOk) {
    pendingFirstLine_ = false;
    if (got == LineReader::Line::kFailed) problem_ = "the file cannot be read";
    return got != LineReader::Line::kFailed;
  }
  std::vector<std::string_view> names = splitTabs(line_);
  if (std::find(names.begin(), names.end(), "headword") == names.end()) {
    pendingFirstLine_ = true;  // no header: the first line is an entry
    return true;
  }
  columns_.clear();
  for (std::string_view name : names) {
    std::optional<Column> column = columnNamed(name);
    if (!column) {
      problem_ = "unknown column \"" + std::string(name) + "\" in the header";
      return false;
    }
    for (Column seen : columns_) {
      if (seen == *column) {
        problem_ = "column \"" + std::string(name) + "\" named twice in the header";
        return false;
      }
    }
    columns_.push_back(*column);
  }
  return true;
}

ReadResult TsvSource::bad(const std::string& what) {
  problem_ = "line " + std::to_string(lines_.lineNumber()) + ": " + what;
  return ReadResult::kBadRecord;
}

ReadResult TsvSource::parseRow(SourceEntry* entry) {
  std::vector<std::string_view> fields = splitTabs(line_);
  if (fields.size() > columns_.size())
    return bad(std::to_string(fields.size()) + " fields, " + std::to_string(columns_.size()) +
               " columns");
  *entry = SourceEntry{};
  for (size_t i = 0; i < fields.size(); ++i) {
    std::string_view field = fields[i];
    switch (columns_[i]) {
      case Column::kHeadword:
        entry->headword = std::string(field);
        break;
      case Column::kText:
        entry->text = unescapeTsvText(std::string(field));
        break;
      case Column::kDisplay:
        entry->displayWord = std::string(field);
        break;
      case Column::kLevel:
        if (!field.empty()) {
          std::optional<uint8_t> level = parseByte(field, false);
          if (!level) return bad("level is not a number up to 255");
          entry->level = *level;
        }
        break;
      case Column::kVcode:
        if (!field.empty()) {
          entry->vcode = parseByte(field, true);
          if (!entry->vcode) return bad("vcode is not a byte value");
        }
        break;
    }
  }
  return ReadResult::kEntry;
}

ReadResult TsvSource::next(SourceEntry* entry) {
  for (;;) {
    if (pendingFirstLine_) {
      pendingFirstLine_ = false;
    } else {
      LineReader::Line read = lines_.next(&line_);
      if (read != LineReader::Line::kOk) {
        return resultOfUnreadLine(read, "the file cannot be read", &problem_,
                                  [this](const std::string& what) { return bad(what); });
      }
    }
    if (line_.empty()) continue;
    return parseRow(entry);
  }
}

}  // namespace orvia::compile
