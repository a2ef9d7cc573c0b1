// Reading tests/data/: golden files and case tables (golden.h, case_table.h).
#include "support/golden.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <fstream>
#include <iterator>

#include "support/case_table.h"

namespace orvia::testing {
namespace {

std::string trimmed(const std::string& s) {
  const size_t first = s.find_first_not_of(" \t\r");
  return first == std::string::npos ? "" : s.substr(first, s.find_last_not_of(" \t\r") - first + 1);
}

// Splits at each separator that stands outside quotes.
std::vector<std::string> split(const std::string& s, char separator) {
  std::vector<std::string> parts(1);
  bool quoted = false;
  for (char c : s) {
    quoted = quoted != (c == '"');
    if (c == separator && !quoted) parts.emplace_back();
    if (c != separator || quoted) parts.back() += c;
  }
  for (std::string& part : parts) part = trimmed(part);
  return parts;
}

std::string golden(const std::string& field, const std::string& line) {
  std::string out;
  if (!parseGolden(field, out)) ADD_FAILURE() << "no bytes in [" << field << "] of " << line;
  return out;
}

}  // namespace

std::string dataPath(const std::string& name) {
  const char* root = std::getenv("ORVIADIC_SOURCE_DIR");
  return std::string(root ? root : ".") + "/tests/data/" + name;
}

bool parseGolden(const std::string& text, std::string& bytes) {
  for (size_t i = 0; i < text.size();) {
    if (std::isspace(static_cast<unsigned char>(text[i]))) {
      ++i;
    } else if (text[i] == '#') {
      i = std::min(text.find('\n', i), text.size());
    } else if (text[i] == '"') {
      const size_t end = text.find('"', i + 1);
      if (end == std::string::npos) return false;
      bytes.append(text, i + 1, end - i - 1);
      i = end + 1;
    } else {
      const std::string digits = text.substr(i, 2);
      if (digits.size() < 2 || !std::isxdigit(static_cast<unsigned char>(digits[0])) ||
          !std::isxdigit(static_cast<unsigned char>(digits[1])))
        return false;
      size_t copies = 1, next = i + 2;
      if (next < text.size() && text[next] == '*') {
        char* end = nullptr;
        copies = std::strtoul(text.c_str() + next + 1, &end, 10);
        if (end == text.c_str() + next + 1) return false;
        next = size_t(end - text.c_str());
      }
      bytes.append(copies, char(std::stoi(digits, nullptr, 16)));
      i = next;
    }
  }
  return true;
}

std::string goldenBytes(const std::string& name) {
  std::ifstream in(dataPath(name), std::ios::binary);
  std::string bytes;
  if (!in || !parseGolden({std::istreambuf_iterator<char>(in), {}}, bytes)) {
    ADD_FAILURE() << "no golden file, or a malformed one: " << dataPath(name);
    return std::string();
  }
  return bytes;
}

int64_t CaseRow::number(size_t i) const {
  char* end = nullptr;
  const int64_t value = std::strtoll(fields.at(i).c_str(), &end, 0);
  if (fields[i].empty() || *end != '\0')
    ADD_FAILURE() << "no number in field " << i << " of " << line;
  return value;
}

std::optional<std::string> CaseRow::bytes(size_t i) const {
  if (fields.at(i) == "null") return std::nullopt;
  return golden(fields[i], line);
}

std::vector<std::string> CaseRow::list(size_t i) const {
  std::vector<std::string> out;
  for (const std::string& item : split(fields.at(i), ',')) out.push_back(golden(item, line));
  return out;
}

std::vector<CaseRow> caseTable(const std::string& name) {
  std::ifstream in(dataPath(name), std::ios::binary);
  if (!in) ADD_FAILURE() << "no case table " << dataPath(name);
  std::vector<CaseRow> rows;
  for (std::string line; std::getline(in, line);) {
    line = trimmed(line);
    if (!line.empty() && line[0] != '#') rows.push_back({line, split(line, '|')});
  }
  return rows;
}

}  // namespace orvia::testing
