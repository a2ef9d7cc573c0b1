// Property: any bytes parsed as a registry hive are written back unchanged; setting one
// value changes that value alone: read back, it is what was set, and every other value of
// every section reads as before.
// Input: u8 steering the value set (type, and whether it is a new name), then the file.
// The seed corpus holds hives edited by hand: quoted, spaced, unnamed, continued and
// malformed values, deleted keys and free text, in both line ends, some with a BOM, and
// values left dangling by a continuation before a blank or a [key] line.
#include <strings.h>

#include <cstdint>
#include <cstdlib>
#include <optional>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "platform/posix/registry_text.h"

using orvia::platform::regtext::Hive;
using orvia::platform::regtext::Value;

namespace {

// Section names as the file spells them, at most a few: "[path]" lines of a UTF-8 file.
std::vector<std::string> sectionPaths(const std::string& file) {
  std::vector<std::string> paths;
  std::istringstream lines(file);
  for (std::string line; paths.size() < 6 && std::getline(lines, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.size() > 2 && line.front() == '[' && line.back() == ']' && line[1] != '-')
      paths.push_back(line.substr(1, line.size() - 2));
  }
  return paths;
}

// The values not named except (in any case), as name, type and data.
std::vector<std::tuple<std::string, uint32_t, std::string>> others(
    const std::vector<std::pair<std::string, Value>>& values, const std::string& except) {
  std::vector<std::tuple<std::string, uint32_t, std::string>> out;
  for (const auto& [name, value] : values)
    if (strcasecmp(name.c_str(), except.c_str()) != 0)
      out.emplace_back(name, value.type, value.data);
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  const uint8_t steer = data[0];
  const std::string file(reinterpret_cast<const char*>(data + 1), size - 1);
  std::optional<Hive> hive = Hive::parse(file);
  if (!hive) return 0;
  if (hive->text() != file) std::abort();
  const std::vector<std::string> paths = sectionPaths(file);
  if (paths.empty()) return 0;
  const std::string& key = paths[steer % paths.size()];
  std::vector<std::vector<std::pair<std::string, Value>>> before;
  for (const std::string& path : paths) before.push_back(hive->values(path));

  const auto& own = before[steer % paths.size()];
  const std::string name = own.empty() || steer & 0x80 ? "Fuzzed" : own.front().first;
  const uint32_t types[] = {1, 3, 4};
  Value value{types[steer % 3], file.substr(0, steer % 16)};
  if (value.type == 1) value.data += '\0';
  if (value.type == 4) value.data = std::string("\x2a\0\0\0", 4);
  if (!hive->setValue(key, name, value)) return 0;

  std::optional<Hive> again = Hive::parse(hive->text());
  if (!again) std::abort();
  std::optional<Value> read = again->value(key, name);
  if (!read || read->type != value.type || read->data != value.data) std::abort();
  for (size_t i = 0; i < paths.size(); ++i) {
    const bool changed = strcasecmp(paths[i].c_str(), key.c_str()) == 0;
    const std::string except = changed ? name : std::string();
    if (others(before[i], except) != others(again->values(paths[i]), except)) std::abort();
  }
  return 0;
}
