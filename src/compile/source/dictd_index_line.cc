#include "compile/source/dictd_index_line.h"

namespace orvia::compile {
namespace {

int digitValue(char c) {
  if (c >= 'A' && c <= 'Z') return c - 'A';
  if (c >= 'a' && c <= 'z') return c - 'a' + 26;
  if (c >= '0' && c <= '9') return c - '0' + 52;
  if (c == '+') return 62;
  if (c == '/') return 63;
  return -1;
}

}  // namespace

std::optional<uint32_t> decodeDictdNumber(std::string_view digits) {
  if (digits.empty()) return std::nullopt;
  uint64_t value = 0;
  for (char c : digits) {
    int digit = digitValue(c);
    if (digit < 0) return std::nullopt;
    value = value * 64 + uint64_t(digit);
    if (value > 0xFFFFFFFFull) return std::nullopt;
  }
  return uint32_t(value);
}

std::optional<DictdIndexLine> parseDictdIndexLine(std::string_view line) {
  size_t tab1 = line.find('\t');
  if (tab1 == std::string_view::npos) return std::nullopt;
  size_t tab2 = line.find('\t', tab1 + 1);
  if (tab2 == std::string_view::npos) return std::nullopt;
  size_t tab3 = line.find('\t', tab2 + 1);
  std::string_view lengthDigits = line.substr(
      tab2 + 1, tab3 == std::string_view::npos ? std::string_view::npos : tab3 - tab2 - 1);
  std::optional<uint32_t> offset = decodeDictdNumber(line.substr(tab1 + 1, tab2 - tab1 - 1));
  std::optional<uint32_t> length = decodeDictdNumber(lengthDigits);
  if (!offset || !length) return std::nullopt;
  return DictdIndexLine{std::string(line.substr(0, tab1)), *offset, *length};
}

bool isDictdDatabaseEntry(std::string_view headword) {
  return headword.substr(0, 12) == "00-database-" || headword.substr(0, 10) == "00database";
}

}  // namespace orvia::compile
