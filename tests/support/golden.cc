#include "support/golden.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstdlib>
#include <fstream>
#include <iterator>

namespace orvia::testing {
namespace {

int hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  c = char(std::tolower(static_cast<unsigned char>(c)));
  return c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
}

}  // namespace

std::string dataPath(const std::string& name) {
  const char* root = std::getenv("ORVIADIC_SOURCE_DIR");
  return std::string(root ? root : ".") + "/tests/data/" + name;
}

bool parseGolden(const std::string& text, std::string& bytes) {
  size_t i = 0;
  while (i < text.size()) {
    char c = text[i];
    if (std::isspace(static_cast<unsigned char>(c))) {
      ++i;
    } else if (c == '#') {
      while (i < text.size() && text[i] != '\n') ++i;
    } else if (c == '"') {
      size_t end = text.find('"', i + 1);
      if (end == std::string::npos) return false;
      bytes.append(text, i + 1, end - i - 1);
      i = end + 1;
    } else {
      if (i + 1 >= text.size()) return false;
      int high = hexDigit(text[i]), low = hexDigit(text[i + 1]);
      if (high < 0 || low < 0) return false;
      char byte = char(high * 16 + low);
      i += 2;
      size_t copies = 1;
      if (i < text.size() && text[i] == '*') {
        char* end = nullptr;
        copies = std::strtoul(text.c_str() + i + 1, &end, 10);
        if (end == text.c_str() + i + 1) return false;
        i = size_t(end - text.c_str());
      }
      bytes.append(copies, byte);
    }
  }
  return true;
}

std::string goldenBytes(const std::string& name) {
  std::ifstream in(dataPath(name), std::ios::binary);
  if (!in) {
    ADD_FAILURE() << "no golden file " << dataPath(name);
    return std::string();
  }
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::string bytes;
  if (!parseGolden(text, bytes)) {
    ADD_FAILURE() << "malformed golden file " << dataPath(name);
    return std::string();
  }
  return bytes;
}

}  // namespace orvia::testing
