// The new-word version and time a dictionary reached, and the path of its new-word list:
// the exports over the registry and the folder it names.
#include <gtest/gtest.h>

#include <cstdio>

#include "orviadic.h"
#include "support/case_table.h"
#include "support/dictionary_fixtures.h"
#include "support/temp_dir.h"

namespace {

std::string digitsOf(uint32_t id) {
  char text[9];
  orvia::dict::formatDictIdHex(id, text);
  return text;
}

class NewWordValues : public orvia::testing::ConfigFixture {};

TEST_F(NewWordValues, CurrentVersionAndTimeTable) {
  for (const orvia::testing::CaseRow& c : orvia::testing::caseTable("update/current_values.txt")) {
    SCOPED_TRACE(c.line);
    const uint32_t id = uint32_t(c.number(1));
    std::string lines;
    for (const auto& [field, name] : {std::pair(2, "version"), std::pair(3, "time")})
      if (c.fields[field] != "none")
        lines += "\"" + digitsOf(id) + name + "\"=" + c.fields[field] + "\r\n";
    writeDictKey(lines);
    uint32_t version = 0xAAAAAAAA, time[4] = {1, 2, 3, 4};
    EXPECT_EQ(dicGetCurrentNewWordVersion(id, &version), c.number(4));
    EXPECT_EQ(version, uint32_t(c.number(5)));
    EXPECT_EQ(dicGetCurrentNewWordTime(id, time), c.number(6));
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(time), 16), *c.bytes(7));
  }
  EXPECT_EQ(dicGetCurrentNewWordVersion(0x01020304, nullptr), 0);
  EXPECT_EQ(dicGetCurrentNewWordTime(0x01020304, nullptr), 0);
}

TEST_F(NewWordValues, ListPathTable) {
  for (const orvia::testing::CaseRow& c : orvia::testing::caseTable("update/list_paths.txt")) {
    SCOPED_TRACE(c.line);
    const uint32_t id = uint32_t(c.number(1));
    writeDictKey(c.number(2) != 0 ? "\"PATH\"=\"" + dir_.path() + "\"\r\n" : "");
    const std::string path = dir_.file(digitsOf(id) + ".NEW");
    if (c.number(3) != 0) orvia::testing::writeFileBytes(path, "word\r\n");
    uint32_t size = 0;
    if (c.fields[4] == "fits" || c.fields[4] == "one short")
      size = uint32_t(path.size()) + (c.fields[4] == "fits" ? 1 : 0);
    else
      size = uint32_t(c.number(4));
    std::string buffer(300, 'x');
    EXPECT_EQ(dicGetNewWordListPath(id, buffer.data(), size), c.number(5));
    const std::string& want = c.fields[6];
    const std::string expected = want == "path"    ? path + '\0'
                                 : want == "empty" ? std::string(1, '\0')
                                                   : std::string(300, 'x');
    EXPECT_EQ(buffer.substr(0, expected.size()), expected);
    std::remove(path.c_str());
  }
  EXPECT_EQ(dicGetNewWordListPath(0x01020304, nullptr, 10), 0);
}

}  // namespace
