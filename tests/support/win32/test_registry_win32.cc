// The real registry stands for the test's own: each test process has a key of its own
// under HKEY_CURRENT_USER, emptied before and after each test, so that tests running at
// once, and clients reading the library's default key, do not meet.
#include <windows.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "support/test_registry.h"

namespace orvia::testing {
namespace {

const std::string& keyPath() {
  static const std::string path =
      "Software\\OrviaDicTest\\Process" + std::to_string(GetCurrentProcessId());
  return path;
}

void deleteTestKey() {
  RegDeleteTreeA(HKEY_CURRENT_USER, keyPath().c_str());
}

// The text between quotes at *at, with \\ and \" unescaped; a lone backslash, as in a
// Windows path, stays.
std::string quoted(const std::string& line, size_t* at) {
  std::string out;
  size_t i = *at + 1;
  for (; i < line.size() && line[i] != '"'; ++i) {
    if (line[i] == '\\' && i + 1 < line.size() && (line[i + 1] == '\\' || line[i + 1] == '"')) ++i;
    out += line[i];
  }
  *at = i + 1;
  return out;
}

bool setValue(HKEY key, const std::string& line) {
  size_t at = 0;
  if (line.empty() || line[0] != '"') return false;
  const std::string name = quoted(line, &at);
  if (at >= line.size() || line[at] != '=') return false;
  const std::string data = line.substr(at + 1);
  std::string bytes;
  DWORD type = REG_BINARY;
  if (!data.empty() && data[0] == '"') {
    size_t from = 0;
    bytes = quoted(data, &from);
    bytes += '\0';
    type = REG_SZ;
  } else if (data.rfind("dword:", 0) == 0) {
    const uint32_t v = uint32_t(std::strtoul(data.c_str() + 6, nullptr, 16));
    bytes = {char(v), char(v >> 8), char(v >> 16), char(v >> 24)};
    type = REG_DWORD;
  } else if (data.rfind("hex:", 0) == 0) {
    for (size_t i = 4; i + 1 < data.size(); i += 3)
      bytes += char(std::strtoul(data.substr(i, 2).c_str(), nullptr, 16));
  } else {
    return false;
  }
  return RegSetValueExA(key, name.c_str(), 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                        DWORD(bytes.size())) == ERROR_SUCCESS;
}

}  // namespace

void enterTestRegistry(const std::string&) {
  deleteTestKey();
}

void leaveTestRegistry() {
  deleteTestKey();
}

uint32_t testKeyRoot() {
  return uint32_t(reinterpret_cast<uintptr_t>(HKEY_CURRENT_USER));
}

const char* testKeyPath() {
  return keyPath().c_str();
}

bool writeTestKey(const std::string& valueLines) {
  deleteTestKey();
  HKEY key = nullptr;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, keyPath().c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                      &key, nullptr) != ERROR_SUCCESS)
    return false;
  bool ok = true;
  for (size_t start = 0; start < valueLines.size();) {
    size_t end = valueLines.find("\r\n", start);
    if (end == std::string::npos) end = valueLines.size();
    if (end > start) ok = setValue(key, valueLines.substr(start, end - start)) && ok;
    start = end + 2;
  }
  RegCloseKey(key);
  return ok;
}

}  // namespace orvia::testing
