// Hives as users and other tools leave them: exported in UTF-16LE, edited by hand with
// values continued across lines. Whatever the library sets reads back, and every other
// value and every line it did not change stays as it was.
#include <strings.h>

#include <gtest/gtest.h>

#include <optional>
#include <random>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/posix/registry_encoding.h"
#include "platform/posix/registry_text.h"
#include "support/golden.h"
#include "support/registry_fixture.h"
#include "support/text_hive.h"

namespace orvia::platform::regtext {
namespace {

using orvia::testing::testKeyPath;
using Data = std::optional<std::string>;

const std::string kRoot = "HKEY_LOCAL_MACHINE\\SOFTWARE\\T\\";

Data read(const Hive& hive, const std::string& key, const std::string& name) {
  auto value = hive.value(key, name);
  return value ? Data(value->data) : std::nullopt;
}

std::vector<std::string> linesOf(const std::string& text) {
  std::vector<std::string> lines;
  for (size_t start = 0, end = 0; start < text.size(); start = end) {
    end = std::min(text.find('\n', start), text.size() - 1) + 1;
    lines.push_back(text.substr(start, end - start));
  }
  return lines;
}

// The lines of after are those of before, but for one value entry replaced by at most a
// blank line and a new value line (or a new key's section); a last line may gain its end.
void expectOnlyOneEntryChanged(const std::string& before, const std::string& after,
                               const std::string& name) {
  auto a = linesOf(before), b = linesOf(after);
  auto same = [](const std::string& old, const std::string& now) {
    return now == old || (old.back() != '\n' && now.compare(0, old.size(), old) == 0 &&
                          now.find_first_not_of("\r\n", old.size()) == std::string::npos);
  };
  size_t p = 0, s = 0;
  while (p < a.size() && p < b.size() && same(a[p], b[p])) ++p;
  while (s < a.size() - p && s < b.size() - p && a[a.size() - 1 - s] == b[b.size() - 1 - s]) ++s;
  EXPECT_LE(b.size() - p - s, 4u);
  if (p + s == a.size()) return;
  std::string replaced = "Windows Registry Editor Version 5.00\n[K]\n";
  for (size_t i = p; i < a.size() - s; ++i) replaced += a[i];
  auto entry = Hive::parse(replaced);
  ASSERT_TRUE(entry.has_value());
  EXPECT_EQ(entry->values("K").size(), 1u) << replaced;
  EXPECT_TRUE(entry->value("K", name).has_value()) << replaced;
}

class Utf16Hive : public orvia::testing::RegistryFixture {};

TEST_F(Utf16Hive, IsReadAndWrittenBackInUtf16) {
  orvia::testing::writeHive(dir_, orvia::testing::goldenBytes("registry/utf16_hive.hex"));
  RegKey key = regOpenKey(kHkeyLocalMachine, testKeyPath(), RegAccess::kRead);
  char data[16];
  uint32_t size = sizeof data;
  ASSERT_TRUE(regQueryValue(key, "Smile", nullptr, data, &size));
  EXPECT_EQ(std::string(data, size), "\xF0\x9F\x98\x80" + std::string(1, '\0'));
  regCloseKey(key);
  key = regOpenKey(kHkeyLocalMachine, testKeyPath(), RegAccess::kWrite);
  EXPECT_TRUE(regSetValue(key, "Path", 1, "X", 2));
  EXPECT_TRUE(regSetValue(key, "Count", 4, "\x07\0\0\0", 4));
  regCloseKey(key);
  EXPECT_EQ(orvia::testing::hiveText(dir_),
            orvia::testing::goldenBytes("registry/utf16_hive_set.hex"));
}

TEST_F(Utf16Hive, NeitherTextNorUtf16WithAMarkIsRefusedAndLeftAsItWas) {
  const std::string kFiles[] = {
      std::string("\xFF\xFEW\0i", 5),     // odd length
      std::string("\xFF\xFEW\0\0\0", 6),  // a NUL character
      std::string("\xFE\xFF\0W\0i", 6),   // big-endian
      std::string("W\0i\0n\0", 6),        // no byte-order mark
  };
  for (const std::string& file : kFiles) {
    orvia::testing::writeHive(dir_, file);
    EXPECT_EQ(regOpenKey(kHkeyLocalMachine, "", RegAccess::kWrite), nullptr);
    EXPECT_EQ(orvia::testing::hiveText(dir_), file);
  }
}

// A continued value ends at a blank line, a [key] line or the end of the file, and a value
// left dangling there does not swallow what is set after it.
TEST(HandEditedHive, AContinuationEndsWhereTheValueVisiblyEnds) {
  const std::string kHeader = "Windows Registry Editor Version 5.00\n";
  const struct {
    std::string text, key, name;
    Data data;
  } rows[] = {
      {kHeader + "\"\"=\\", "", "", std::nullopt},
      {kHeader + "[" + kRoot + "A]\n\"Blob\"=hex:01,02,\\", kRoot + "A", "Blob", "\x01\x02"},
      {kHeader + "[" + kRoot + "A]\n\"Blob\"=hex:01,\\  \n  02\n", kRoot + "A", "Blob", "\x01\x02"},
      {kHeader + "[" + kRoot + "A]\n\"B\"=hex:01,\\\n\n[" + kRoot + "B]\n\"P\"=\"p\"", kRoot + "B",
       "P", std::string("p\0", 2)},
      {kHeader + "[" + kRoot + "A]\n\"B\"=hex:01,\\\n[" + kRoot + "B]\n\"P\"=\"p\"", kRoot + "B",
       "P", std::string("p\0", 2)},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.text);
    auto hive = Hive::parse(row.text);
    ASSERT_TRUE(hive.has_value());
    EXPECT_EQ(read(*hive, row.key, row.name), row.data);
    const Value set{1, std::string("two\r\nlines\0", 11)};
    ASSERT_TRUE(hive->addKey(kRoot + "New"));
    ASSERT_TRUE(hive->setValue(kRoot + "New", "N", set));
    auto again = Hive::parse(hive->text());
    ASSERT_TRUE(again.has_value());
    EXPECT_EQ(read(*again, row.key, row.name), row.data);
    EXPECT_EQ(read(*again, kRoot + "New", "N"), set.data);
    EXPECT_FALSE(again->setValue(kRoot + "New", "line\nbreak", set));
  }
}

// Random hand-edited hives, one random change each: parse, set, write, parse again.
TEST(HandEditedHive, SettingOneValueChangesNothingElse) {
  const std::vector<std::string> keys = {kRoot + "A", kRoot + "B", kRoot + "A\\Sub", kRoot + "C"};
  const std::vector<std::string> names = {"", "n1", "N2", "q\"uote", "back\\slash", "é"};
  const std::vector<std::string> valueLines = {"\"n1\"=\"v\\\\\\\"x\"",
                                               "  \"N2\" =  dword:0000000a ",
                                               "\"q\\\"uote\"=hex:01,02,\\",
                                               "  03",
                                               "@=\"default é\"",
                                               "\"back\\\\slash\"=hex(2):41,00",
                                               "\"n1\"=bogus",
                                               "; note",
                                               "",
                                               "\"é\"=hex:ff,\\",
                                               "[-" + kRoot + "Gone]",
                                               "text that is no value"};
  std::mt19937 random(20261207);
  auto pick = [&](size_t n) { return size_t(random() % n); };
  for (int round = 0; round < 400; ++round) {
    const std::string nl = pick(2) ? "\r\n" : "\n";
    const bool utf16 = pick(3) == 0;
    std::string text = std::string(utf16 || pick(4) == 0 ? "\xEF\xBB\xBF" : "") +
                       "Windows Registry Editor Version 5.00" + nl;
    for (size_t line = 0, lines = pick(14); line < lines; ++line) {
      bool section = pick(4) == 0;
      text += (section ? "[" + keys[pick(keys.size())] + "]" : valueLines[pick(valueLines.size())]);
      if (line + 1 < lines || pick(2)) text += nl;
    }
    const std::string file = utf16 ? *utf16leFromUtf8(text) : text;
    SCOPED_TRACE(::testing::Message() << "round " << round << "\n" << text);
    auto hive = Hive::parse(file);
    ASSERT_TRUE(hive.has_value());
    ASSERT_EQ(hive->text(), file);
    const std::string key = keys[pick(keys.size())], name = names[pick(names.size())];
    std::string bytes;
    for (size_t i = 0, n = pick(6); i < n; ++i) bytes += "a\r\n\"\\\xC3\xA9\xFF"[pick(8)];
    const Value set{pick(2) ? 1u : 3u, bytes + '\0'};
    Hive changed = *hive;
    bool done = changed.setValue(key, name, set);
    auto again = Hive::parse(changed.text());
    ASSERT_TRUE(again.has_value());
    EXPECT_EQ(utf16, isUtf16le(changed.text()));
    if (!done) {
      EXPECT_EQ(changed.text(), file);
    }
    expectOnlyOneEntryChanged(utf16 ? *utf8FromUtf16le(file) : file,
                              utf16 ? *utf8FromUtf16le(changed.text()) : changed.text(), name);
    for (const std::string& k : keys) {
      EXPECT_EQ(again->keyExists(k), hive->keyExists(k)) << k;
      for (const std::string& n : names) {
        bool target = done && k == key && strcasecmp(n.c_str(), name.c_str()) == 0;
        EXPECT_EQ(read(*again, k, n), target ? Data(set.data) : read(*hive, k, n)) << k << " " << n;
      }
    }
  }
}

}  // namespace
}  // namespace orvia::platform::regtext
