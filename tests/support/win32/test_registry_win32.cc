// The real registry stands for the test's own: each test process has a key of its own
// under HKEY_CURRENT_USER, emptied before and after each test, so that tests running at
// once, and clients reading the library's default key, do not meet.
#include <windows.h>

#include <cstdint>
#include <string>

#include "platform/posix/registry_text.h"
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

// The registry editor's escapes, with the leniency tests need for Windows paths: a lone
// backslash stays.
std::string escapeLoneBackslashes(const std::string& lines) {
  std::string out;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (lines[i] == '\\' && i + 1 < lines.size() && (lines[i + 1] == '\\' || lines[i + 1] == '"'))
      out += lines.substr(i++, 2);
    else
      out += lines[i] == '\\' ? "\\\\" : std::string(1, lines[i]);
  }
  return out;
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
  const std::string section = "HKEY_CURRENT_USER\\" + keyPath();
  auto hive =
      platform::regtext::Hive::parse(std::string(platform::regtext::kHeaderLine) + "\r\n\r\n[" +
                                     section + "]\r\n" + escapeLoneBackslashes(valueLines));
  HKEY key = nullptr;
  if (!hive || RegCreateKeyExA(HKEY_CURRENT_USER, keyPath().c_str(), 0, nullptr, 0, KEY_SET_VALUE,
                               nullptr, &key, nullptr) != ERROR_SUCCESS)
    return false;
  bool ok = true;
  for (const auto& [name, value] : hive->values(section)) {
    ok = RegSetValueExA(key, name.c_str(), 0, value.type,
                        reinterpret_cast<const BYTE*>(value.data.data()),
                        DWORD(value.data.size())) == ERROR_SUCCESS &&
         ok;
  }
  RegCloseKey(key);
  return ok;
}

}  // namespace orvia::testing
