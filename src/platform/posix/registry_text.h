// A registry hive kept as text in the format Windows' registry editor exports:
//
//   Windows Registry Editor Version 5.00
//
//   [HKEY_LOCAL_MACHINE\SOFTWARE\Example]
//   "Name"="text with \\ and \" escaped"
//   "Count"=dword:0000000a
//   "Blob"=hex:01,02,\   (a trailing backslash continues the value
//     03                on the next line)
//   @="the default value"
//
// The model keeps every physical line as it was, so a rewrite changes nothing but the
// value it sets: comments, blank lines, unknown keys, odd spacing and malformed lines
// survive byte for byte. Key and value names compare without regard to ASCII case.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace orvia::platform::regtext {

inline constexpr char kHeaderLine[] = "Windows Registry Editor Version 5.00";

struct Value {
  uint32_t type = 0;
  std::string data;  // the stored bytes; a string's terminator included
};

class Hive {
 public:
  // Null when the text is not a hive: no header line, or a NUL byte anywhere.
  static std::optional<Hive> parse(const std::string& text);
  // A new hive holding only the header line.
  static Hive empty();

  // A key exists when its section, or a section below it, is present.
  bool keyExists(const std::string& keyPath) const;
  // The value in the key's first section that names it; malformed lines are skipped.
  std::optional<Value> value(const std::string& keyPath, const std::string& name) const;
  // Every readable value of the key's first section, in file order.
  std::vector<std::pair<std::string, Value>> values(const std::string& keyPath) const;
  // Replaces the value's entry, or adds one at the end of the key's section. False when
  // the key does not exist.
  bool setValue(const std::string& keyPath, const std::string& name, const Value& value);
  // Appends an empty section for the key when it does not exist.
  void addKey(const std::string& keyPath);

  std::string text() const;

 private:
  enum class Kind { kOther, kSection, kValue };
  // One entry: a physical line, or a value line with its continuation lines.
  struct Entry {
    Kind kind = Kind::kOther;
    std::string raw;   // as in the file, line endings included
    std::string name;  // section path or value name
  };

  // Index range [first, end) of the entries of a key's first section, or false.
  bool sectionOf(const std::string& keyPath, size_t* first, size_t* end) const;

  std::vector<Entry> entries_;
  std::string newline_ = "\r\n";
};

// "name"=... formatted as the registry editor writes it, without a line ending.
std::string formatValueLine(const std::string& name, const Value& value);
// Parses the part after "name"=; nullopt when malformed.
std::optional<Value> parseValueData(const std::string& data);

}  // namespace orvia::platform::regtext
