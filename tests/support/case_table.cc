#include "support/case_table.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "support/golden.h"

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
