// A registry hive kept as text in the format Windows' registry editor exports:
//
//   Windows Registry Editor Version 5.00
//
//   [HKEY_LOCAL_MACHINE\SOFTWARE\Example]
//   "Name"="text with \\ and \" escaped"
//   "Count"=dword:0000000a
//   "Blob"=hex:01,02,\   (a trailing backslash continues the value
//     03                on the next line; a blank line or a [key] line ends it)
//   @="the default value"
//
// The model keeps every physical line as it was, so a rewrite changes nothing but the
// value it sets: comments, blank lines, unknown keys, odd spacing and malformed lines
// survive byte for byte, and a UTF-16LE file is written back in UTF-16LE. Key and value
// names compare without regard to ASCII case.
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
  // Null when the file is not a hive: no header line, a NUL character anywhere, or a
  // UTF-16LE file of odd length.
  static std::optional<Hive> parse(const std::string& file);
  // A new hive holding only the header line.
  static Hive empty();

  // A key exists when its section, or a section below it, is present.
  bool keyExists(const std::string& keyPath) const;
  // The value in the key's first section that names it; malformed lines are skipped.
  std::optional<Value> value(const std::string& keyPath, const std::string& name) const;
  // Every readable value of the key's first section, in file order.
  std::vector<std::pair<std::string, Value>> values(const std::string& keyPath) const;
  // Replaces the value's entry, or adds one at the end of the key's section. False when
  // the key does not exist or the name cannot be written in the file (a line break, or
  // not UTF-8 in a UTF-16LE file). A string the quotes cannot hold is written as hex(1).
  bool setValue(const std::string& keyPath, const std::string& name, const Value& value);
  // Removes the value's entry from the key's first section; false when there is none.
  bool removeValue(const std::string& keyPath, const std::string& name);
  // Appends an empty section for the key when it does not exist; false when the path
  // cannot be written in the file.
  bool addKey(const std::string& keyPath);

  // The file's bytes, in the encoding the hive was read in.
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
  // True when text can stand on a line of this file.
  bool canHold(const std::string& text) const;
  // Ends the entry before a line is inserted after it: its last line gets a line end and,
  // when that line continues the value, a blank line follows it, so that the inserted
  // line does not become part of the value. Gives the index where that line goes.
  size_t endEntry(size_t index);

  std::vector<Entry> entries_;
  std::string newline_ = "\r\n";
  bool utf16_ = false;
};

// "name"=... formatted as the registry editor writes it, without a line ending. A string is
// quoted when the quotes can hold it (no line break, no NUL before its terminator) and
// mayQuote is true; otherwise it is written as hex(1), which holds any bytes.
std::string formatValueLine(const std::string& name, const Value& value, bool mayQuote = true);
// Parses the part after "name"=; nullopt when malformed.
std::optional<Value> parseValueData(const std::string& data);

}  // namespace orvia::platform::regtext
