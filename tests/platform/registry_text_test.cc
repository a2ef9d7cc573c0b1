#include "platform/posix/registry_text.h"

#include <gtest/gtest.h>

namespace orvia::platform::regtext {
namespace {

struct ValueCase {
  const char* data;
  bool ok;
  uint32_t type;
  std::string bytes;
};

TEST(RegistryText, ParsesValueData) {
  const ValueCase cases[] = {
      {"\"D:\\\\Dict\"", true, 1, std::string("D:\\Dict\0", 8)},
      {"\"say \\\"hi\\\"\"", true, 1, std::string("say \"hi\"\0", 9)},
      {"\"\"", true, 1, std::string("\0", 1)},
      {"dword:0000000a", true, 4, std::string("\x0a\0\0\0", 4)},
      {"dword:FFFFFFFF", true, 4, std::string("\xff\xff\xff\xff", 4)},
      {"hex:01,02,ff", true, 3, std::string("\x01\x02\xff", 3)},
      {"hex:", true, 3, std::string()},
      {"hex(7):61,00,00", true, 7, std::string("a\0\0", 3)},
      {"hex(b):01,00,00,00,00,00,00,00", true, 11, std::string("\x01\0\0\0\0\0\0\0", 8)},
      {"dword:123456789", false, 0, {}},  // nine digits do not fit a dword
      {"dword:12g4", false, 0, {}},
      {"hex:1,02", false, 0, {}},
      {"hex:0102", false, 0, {}},
      {"\"unterminated", false, 0, {}},
      {"\"a\" trailing", false, 0, {}},
      {"string:abc", false, 0, {}},
  };
  for (const ValueCase& c : cases) {
    SCOPED_TRACE(c.data);
    auto value = parseValueData(c.data);
    ASSERT_EQ(value.has_value(), c.ok);
    if (!c.ok) continue;
    EXPECT_EQ(value->type, c.type);
    EXPECT_EQ(value->data, c.bytes);
  }
}

TEST(RegistryText, FormatsValuesAsTheEditorWritesThem) {
  EXPECT_EQ(formatValueLine("Path", {1, std::string("C:\\a \"b\"\0", 9)}),
            "\"Path\"=\"C:\\\\a \\\"b\\\"\"");
  EXPECT_EQ(formatValueLine("Type", {4, std::string("\x0a\0\0\0", 4)}), "\"Type\"=dword:0000000a");
  EXPECT_EQ(formatValueLine("time", {3, std::string("\x01\xab", 2)}), "\"time\"=hex:01,ab");
  EXPECT_EQ(formatValueLine("", {1, std::string("x\0", 2)}), "@=\"x\"");
  // A string with an inner zero or without its terminator cannot be written as text.
  EXPECT_EQ(formatValueLine("s", {1, std::string("a\0b\0", 4)}), "\"s\"=hex(1):61,00,62,00");
  EXPECT_EQ(formatValueLine("v", {4, std::string("\x01", 1)}), "\"v\"=hex(4):01");
}

const char kHandWritten[] =
    "Windows Registry Editor Version 5.00\r\n"
    "\r\n"
    "; kept as written\r\n"
    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Other]\r\n"
    "\"Path\"=\"elsewhere\"\r\n"
    "\r\n"
    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Caldmore\\Orvia\\Tolvane\\Dict]\r\n"
    "  \"00010101Path\"   =   \"D:\\\\Dict\"  \r\n"
    "this line is not a value\r\n"
    "\"Blob\"=hex:01,02,\\\r\n"
    "  03,04\r\n"
    "\"Type\"=dword:00000001\r\n"
    "\r\n"
    "[-HKEY_LOCAL_MACHINE\\SOFTWARE\\Gone]\r\n";

const char kDictKey[] = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Caldmore\\Orvia\\Tolvane\\Dict";

TEST(RegistryText, ReadsHandWrittenHive) {
  auto hive = Hive::parse(kHandWritten);
  ASSERT_TRUE(hive.has_value());
  EXPECT_EQ(hive->text(), kHandWritten);
  EXPECT_EQ(hive->value(kDictKey, "00010101PATH")->data, std::string("D:\\Dict\0", 8));
  EXPECT_EQ(hive->value(kDictKey, "blob")->data, "\x01\x02\x03\x04");
  EXPECT_EQ(hive->value("hkey_local_machine\\software\\other", "path")->data,
            std::string("elsewhere\0", 10));
  EXPECT_FALSE(hive->value(kDictKey, "Missing").has_value());
  EXPECT_TRUE(hive->keyExists("HKEY_LOCAL_MACHINE\\SOFTWARE\\Caldmore"));
  EXPECT_FALSE(hive->keyExists("HKEY_LOCAL_MACHINE\\SOFTWARE\\Cald"));
  EXPECT_FALSE(hive->keyExists("HKEY_LOCAL_MACHINE\\SOFTWARE\\Gone"));
}

TEST(RegistryText, RewriteChangesOnlyTheValueItSets) {
  auto hive = Hive::parse(kHandWritten);
  ASSERT_TRUE(hive.has_value());
  ASSERT_TRUE(hive->setValue(kDictKey, "type", {4, std::string("\x02\0\0\0", 4)}));
  std::string expected = kHandWritten;
  expected.replace(expected.find("\"Type\"=dword:00000001"), 21, "\"Type\"=dword:00000002");
  EXPECT_EQ(hive->text(), expected);

  ASSERT_TRUE(hive->setValue(kDictKey, "80010101version", {4, std::string("\x07\0\0\0", 4)}));
  expected.insert(expected.find("\r\n[-HKEY"), "\"80010101version\"=dword:00000007\r\n");
  EXPECT_EQ(hive->text(), expected);
  EXPECT_FALSE(hive->setValue("HKEY_LOCAL_MACHINE\\SOFTWARE\\Nowhere", "x", {4, "1234"}));
}

TEST(RegistryText, RejectsWhatIsNotAHive) {
  EXPECT_FALSE(Hive::parse("").has_value());
  EXPECT_FALSE(Hive::parse("REGEDIT4\r\n").has_value());
  EXPECT_FALSE(
      Hive::parse(std::string("Windows Registry Editor Version 5.00\r\n\0x", 40)).has_value());
  EXPECT_TRUE(Hive::parse("\xEF\xBB\xBFWindows Registry Editor Version 5.00\n").has_value());
}

TEST(RegistryText, AddedKeyStartsANewSection) {
  Hive hive = Hive::empty();
  hive.addKey("HKEY_CURRENT_USER\\A\\B");
  ASSERT_TRUE(hive.setValue("HKEY_CURRENT_USER\\A\\B", "n", {1, std::string("v\0", 2)}));
  EXPECT_EQ(hive.text(),
            "Windows Registry Editor Version "
            "5.00\r\n\r\n[HKEY_CURRENT_USER\\A\\B]\r\n\"n\"=\"v\"\r\n\r\n");
  EXPECT_TRUE(hive.keyExists("HKEY_CURRENT_USER\\A"));
}

}  // namespace
}  // namespace orvia::platform::regtext
