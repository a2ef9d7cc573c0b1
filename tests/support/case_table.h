// Case tables: the rows of a table-driven test kept as text under tests/data/, one case a
// line, its fields split by "|" (one inside quotes belongs to the field):
//
//   # a note, to the end of the line
//   blanks collapse | "  Big   Apple " | "Big Apple" 00 00 00 b8 | 1
//
// A field is read as a word, as a number (decimal, or hex after 0x), or as bytes in the
// golden-file syntax (support/golden.h). A field out of range throws, failing the test.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace orvia::testing {

struct CaseRow {
  std::string line;  // for SCOPED_TRACE
  std::vector<std::string> fields;

  int64_t number(size_t i) const;
  // The bytes the field spells; nullopt for the word null, which stands for a null pointer.
  std::optional<std::string> bytes(size_t i) const;
  // Byte strings separated by commas.
  std::vector<std::string> list(size_t i) const;
};

// The rows of tests/data/name; a missing file fails the calling test.
std::vector<CaseRow> caseTable(const std::string& name);

// Calls check(row) for every row of tests/data/name, its failures traced to the row's line.
template <typename Check>
void forEachCase(const std::string& name, Check check) {
  for (const CaseRow& row : caseTable(name)) {
    SCOPED_TRACE(row.line);
    check(row);
  }
}

}  // namespace orvia::testing
