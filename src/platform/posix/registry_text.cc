#include "platform/posix/registry_text.h"

#include <cctype>
#include <cstdio>

#include "platform/posix/registry_encoding.h"

namespace orvia::platform::regtext {
namespace {

// ASCII case only, whatever the process's locale: every key and value lookup compares
// names this way, so it stays free of library calls.
char asciiLower(char c) {
  return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
}

// True when the first b.size() characters of a are b's, in any ASCII case.
bool startsWithNoCase(const std::string& a, const std::string& b) {
  if (a.size() < b.size()) return false;
  for (size_t i = 0; i < b.size(); ++i)
    if (asciiLower(a[i]) != asciiLower(b[i])) return false;
  return true;
}

bool equalNoCase(const std::string& a, const std::string& b) {
  return a.size() == b.size() && startsWithNoCase(a, b);
}

std::string stripLineEnd(const std::string& line) {
  size_t end = line.size();
  while (end > 0 && (line[end - 1] == '\n' || line[end - 1] == '\r')) --end;
  return line.substr(0, end);
}

std::string trim(const std::string& s) {
  size_t b = 0, e = s.size();
  while (b < e && (s[b] == ' ' || s[b] == '\t')) ++b;
  while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t')) --e;
  return s.substr(b, e - b);
}

// Reads a quoted name starting at s[*pos] == '"'; *pos ends after the closing quote.
bool readQuoted(const std::string& s, size_t* pos, std::string* out) {
  if (*pos >= s.size() || s[*pos] != '"') return false;
  std::string text;
  for (size_t i = *pos + 1; i < s.size(); ++i) {
    char c = s[i];
    if (c == '\\') {
      if (++i >= s.size()) return false;
      text += s[i];
    } else if (c == '"') {
      *pos = i + 1;
      *out = text;
      return true;
    } else {
      text += c;
    }
  }
  return false;
}

std::string quote(const std::string& text) {
  std::string out = "\"";
  for (char c : text) {
    if (c == '\\' || c == '"') out += '\\';
    out += c;
  }
  return out + "\"";
}

int hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  c = asciiLower(c);
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

std::optional<std::string> parseHexBytes(const std::string& list) {
  std::string bytes;
  size_t i = 0;
  while (i < list.size()) {
    while (i < list.size() && std::isspace(static_cast<unsigned char>(list[i]))) ++i;
    if (i == list.size()) break;
    if (i + 1 >= list.size()) return std::nullopt;
    int hi = hexDigit(list[i]), lo = hexDigit(list[i + 1]);
    if (hi < 0 || lo < 0) return std::nullopt;
    bytes += char(hi * 16 + lo);
    i += 2;
    while (i < list.size() && std::isspace(static_cast<unsigned char>(list[i]))) ++i;
    if (i < list.size()) {
      if (list[i] != ',') return std::nullopt;
      ++i;
    }
  }
  return bytes;
}

// Joins a value entry's physical lines, dropping each trailing backslash.
std::string joinContinuations(const std::string& raw) {
  std::string joined;
  size_t start = 0;
  while (start < raw.size()) {
    size_t nl = raw.find('\n', start);
    std::string line =
        stripLineEnd(raw.substr(start, nl == std::string::npos ? nl : nl - start + 1));
    std::string t = trim(line);
    bool continued = !t.empty() && t.back() == '\\';
    joined += continued ? t.substr(0, t.size() - 1) : t;
    if (nl == std::string::npos) break;
    start = nl + 1;
  }
  return joined;
}

// The value name of a value line, when it is one.
std::optional<std::string> valueNameOf(const std::string& line) {
  std::string t = trim(line);
  if (!t.empty() && t[0] == '@') {
    std::string rest = trim(t.substr(1));
    if (!rest.empty() && rest[0] == '=') return std::string();
    return std::nullopt;
  }
  size_t pos = 0;
  std::string name;
  if (!readQuoted(t, &pos, &name)) return std::nullopt;
  std::string rest = trim(t.substr(pos));
  if (rest.empty() || rest[0] != '=') return std::nullopt;
  return name;
}

std::string dataPartOf(const std::string& joined) {
  std::string t = trim(joined);
  size_t pos = 0;
  std::string name;
  if (!t.empty() && t[0] == '@') {
    pos = 1;
  } else if (!readQuoted(t, &pos, &name)) {
    return std::string();
  }
  size_t eq = t.find('=', pos);
  return eq == std::string::npos ? std::string() : trim(t.substr(eq + 1));
}

// True when the last physical line of raw ends in a backslash: the value goes on. Only
// that line counts, so a blank line between never carries a continuation across.
bool endsWithBackslash(const std::string& raw) {
  size_t end = raw.size();
  if (end > 0 && raw[end - 1] == '\n') --end;
  if (end > 0 && raw[end - 1] == '\r') --end;
  while (end > 0 && (raw[end - 1] == ' ' || raw[end - 1] == '\t')) --end;
  return end > 0 && raw[end - 1] == '\\';
}

// A blank line or a [key] line ends a continued value, so a value left dangling never
// swallows the next section.
bool mayContinue(const std::string& line) {
  std::string t = trim(stripLineEnd(line));
  return !t.empty() && t[0] != '[';
}

std::optional<std::string> sectionNameOf(const std::string& line) {
  std::string t = trim(stripLineEnd(line));
  if (t.size() < 3 || t.front() != '[' || t.back() != ']' || t[1] == '-') return std::nullopt;
  return t.substr(1, t.size() - 2);
}

}  // namespace

std::optional<Value> parseValueData(const std::string& data) {
  std::string d = trim(data);
  if (d.size() >= 2 && d.front() == '"') {
    size_t pos = 0;
    std::string text;
    if (!readQuoted(d, &pos, &text) || pos != d.size()) return std::nullopt;
    return Value{1, text + '\0'};
  }
  if (d.compare(0, 6, "dword:") == 0) {
    std::string digits = d.substr(6);
    if (digits.empty() || digits.size() > 8) return std::nullopt;
    uint32_t v = 0;
    for (char c : digits) {
      int h = hexDigit(c);
      if (h < 0) return std::nullopt;
      v = v * 16 + uint32_t(h);
    }
    std::string bytes(4, '\0');
    for (int i = 0; i < 4; ++i) bytes[size_t(i)] = char((v >> (8 * i)) & 0xFF);
    return Value{4, bytes};
  }
  uint32_t type = 3;
  size_t colon = d.find(':');
  if (colon == std::string::npos) return std::nullopt;
  std::string head = d.substr(0, colon);
  if (head.compare(0, 4, "hex(") == 0 && head.back() == ')') {
    std::string t = head.substr(4, head.size() - 5);
    if (t.empty() || t.size() > 8) return std::nullopt;
    type = 0;
    for (char c : t) {
      int h = hexDigit(c);
      if (h < 0) return std::nullopt;
      type = type * 16 + uint32_t(h);
    }
  } else if (head != "hex") {
    return std::nullopt;
  }
  auto bytes = parseHexBytes(d.substr(colon + 1));
  if (!bytes) return std::nullopt;
  return Value{type, *bytes};
}

std::string formatValueLine(const std::string& name, const Value& value, bool mayQuote) {
  std::string line = name.empty() ? "@=" : quote(name) + "=";
  bool plainString = mayQuote && value.type == 1 && !value.data.empty() &&
                     value.data.back() == '\0' &&
                     value.data.find_first_of(std::string("\0\r\n", 3)) == value.data.size() - 1;
  if (plainString) return line + quote(value.data.substr(0, value.data.size() - 1));
  char buffer[16];
  if (value.type == 4 && value.data.size() == 4) {
    uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = v * 256 + static_cast<unsigned char>(value.data[size_t(i)]);
    std::snprintf(buffer, sizeof buffer, "dword:%08x", v);
    return line + buffer;
  }
  if (value.type == 3) {
    line += "hex:";
  } else {
    std::snprintf(buffer, sizeof buffer, "hex(%x):", value.type);
    line += buffer;
  }
  for (size_t i = 0; i < value.data.size(); ++i) {
    std::snprintf(buffer, sizeof buffer, "%s%02x", i == 0 ? "" : ",",
                  static_cast<unsigned char>(value.data[i]));
    line += buffer;
  }
  return line;
}

std::optional<Hive> Hive::parse(const std::string& file) {
  Hive hive;
  std::optional<std::string> decoded;
  if (isUtf16le(file)) {
    decoded = utf8FromUtf16le(file);
    if (!decoded) return std::nullopt;
    hive.utf16_ = true;
  }
  const std::string& text = decoded ? *decoded : file;
  if (text.find('\0') != std::string::npos) return std::nullopt;
  if (text.find("\r\n") == std::string::npos && text.find('\n') != std::string::npos)
    hive.newline_ = "\n";
  size_t start = 0;
  bool sawHeader = false;
  while (start < text.size()) {
    size_t nl = text.find('\n', start);
    size_t end = nl == std::string::npos ? text.size() : nl + 1;
    Entry entry{Kind::kOther, text.substr(start, end - start), {}};
    start = end;
    std::string line = stripLineEnd(entry.raw);
    if (!sawHeader) {
      // A byte-order mark or blank lines may precede the header; nothing else may.
      std::string t = trim(line);
      if (t.compare(0, 3, "\xEF\xBB\xBF") == 0) t = t.substr(3);
      if (t == kHeaderLine)
        sawHeader = true;
      else if (!t.empty())
        return std::nullopt;
      hive.entries_.push_back(entry);
      continue;
    }
    if (auto section = sectionNameOf(line)) {
      entry.kind = Kind::kSection;
      entry.name = *section;
    } else if (auto name = valueNameOf(line)) {
      entry.kind = Kind::kValue;
      entry.name = *name;
      // Continuation lines belong to the value they continue.
      while (endsWithBackslash(entry.raw) && start < text.size()) {
        size_t next = text.find('\n', start);
        size_t nextEnd = next == std::string::npos ? text.size() : next + 1;
        std::string nextLine = text.substr(start, nextEnd - start);
        if (!mayContinue(nextLine)) break;
        entry.raw += nextLine;
        start = nextEnd;
      }
    }
    hive.entries_.push_back(std::move(entry));
  }
  if (!sawHeader) return std::nullopt;
  return hive;
}

Hive Hive::empty() {
  Hive hive;
  hive.entries_.push_back(Entry{Kind::kOther, std::string(kHeaderLine) + hive.newline_, {}});
  hive.entries_.push_back(Entry{Kind::kOther, hive.newline_, {}});
  return hive;
}

bool Hive::sectionOf(const std::string& keyPath, size_t* first, size_t* end) const {
  for (size_t i = 0; i < entries_.size(); ++i) {
    if (entries_[i].kind != Kind::kSection || !equalNoCase(entries_[i].name, keyPath)) continue;
    size_t j = i + 1;
    while (j < entries_.size() && entries_[j].kind != Kind::kSection) ++j;
    *first = i + 1;
    *end = j;
    return true;
  }
  return false;
}

bool Hive::keyExists(const std::string& keyPath) const {
  std::string prefix = keyPath + "\\";
  for (const Entry& e : entries_) {
    if (e.kind != Kind::kSection) continue;
    if (equalNoCase(e.name, keyPath)) return true;
    if (e.name.size() > prefix.size() && startsWithNoCase(e.name, prefix)) return true;
  }
  return false;
}

std::optional<Value> Hive::value(const std::string& keyPath, const std::string& name) const {
  size_t first = 0, end = 0;
  if (!sectionOf(keyPath, &first, &end)) return std::nullopt;
  for (size_t i = first; i < end; ++i) {
    const Entry& e = entries_[i];
    if (e.kind != Kind::kValue || !equalNoCase(e.name, name)) continue;
    if (auto v = parseValueData(dataPartOf(joinContinuations(e.raw)))) return v;
  }
  return std::nullopt;
}

std::vector<std::pair<std::string, Value>> Hive::values(const std::string& keyPath) const {
  std::vector<std::pair<std::string, Value>> found;
  size_t first = 0, end = 0;
  if (!sectionOf(keyPath, &first, &end)) return found;
  for (size_t i = first; i < end; ++i) {
    if (entries_[i].kind != Kind::kValue) continue;
    if (auto v = parseValueData(dataPartOf(joinContinuations(entries_[i].raw))))
      found.emplace_back(entries_[i].name, *v);
  }
  return found;
}

bool Hive::setValue(const std::string& keyPath, const std::string& name, const Value& value) {
  if (!keyExists(keyPath) || !canHold(name) || !addKey(keyPath)) return false;
  // A string the file's encoding cannot spell goes as hex(1), which keeps its bytes.
  bool mayQuote = canHold(value.data);
  size_t first = 0, end = 0;
  sectionOf(keyPath, &first, &end);
  size_t insertAt = first;
  for (size_t i = first; i < end; ++i) {
    Entry& e = entries_[i];
    if (e.kind != Kind::kValue) continue;
    insertAt = i + 1;
    if (equalNoCase(e.name, name) && parseValueData(dataPartOf(joinContinuations(e.raw)))) {
      // The value keeps the spelling of its name, as the registry does.
      e.raw = formatValueLine(e.name, value, mayQuote) + newline_;
      return true;
    }
  }
  insertAt = endEntry(insertAt - 1);
  std::string line = formatValueLine(name, value, mayQuote) + newline_;
  entries_.insert(entries_.begin() + long(insertAt), Entry{Kind::kValue, line, name});
  return true;
}

bool Hive::removeValue(const std::string& keyPath, const std::string& name) {
  size_t first = 0, end = 0;
  if (!sectionOf(keyPath, &first, &end)) return false;
  for (size_t i = first; i < end; ++i) {
    if (entries_[i].kind == Kind::kValue && equalNoCase(entries_[i].name, name)) {
      entries_.erase(entries_.begin() + long(i));
      return true;
    }
  }
  return false;
}

bool Hive::addKey(const std::string& keyPath) {
  size_t first = 0, end = 0;
  if (sectionOf(keyPath, &first, &end)) return true;
  if (!canHold(keyPath)) return false;
  if (!entries_.empty()) endEntry(entries_.size() - 1);
  entries_.push_back(Entry{Kind::kSection, "[" + keyPath + "]" + newline_, keyPath});
  entries_.push_back(Entry{Kind::kOther, newline_, {}});
  return true;
}

bool Hive::canHold(const std::string& text) const {
  if (text.find_first_of("\r\n") != std::string::npos) return false;
  return !utf16_ || utf16leFromUtf8(text).has_value();
}

size_t Hive::endEntry(size_t index) {
  std::string& raw = entries_[index].raw;
  bool dangling = entries_[index].kind == Kind::kValue && endsWithBackslash(raw);
  if (raw.empty() || raw.back() != '\n') raw += newline_;
  if (!dangling) return index + 1;
  entries_.insert(entries_.begin() + long(index) + 1, Entry{Kind::kOther, newline_, {}});
  return index + 2;
}

std::string Hive::text() const {
  std::string out;
  for (const Entry& e : entries_) out += e.raw;
  if (!utf16_) return out;
  // Every line came from the file or passed canHold, so the text always converts.
  return utf16leFromUtf8(out).value_or(out);
}

}  // namespace orvia::platform::regtext
