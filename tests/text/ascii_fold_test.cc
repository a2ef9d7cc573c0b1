#include "text/ascii_fold.h"

#include <gtest/gtest.h>

#include <string>

namespace orvia::text {
namespace {

TEST(AsciiFold, SpellsWindows1252InAscii) {
  struct Row {
    std::string windows1252;
    bool ok;
    std::string ascii;
  };
  const Row rows[] = {
      {"caf\xE9", true, "cafe"},
      {"\xC6sir", true, "AEsir"},
      {"stra\xDF"
       "e",
       true, "strasse"},
      {"\xDE"
       "orn",
       true, "THorn"},
      {"co\x96op", true, "co-op"},
      {"\x93quoted\x94", true, "\"quoted\""},
      {"sof\xADt", true, "soft"},  // the soft hyphen goes
      {"a\xA0"
       "b",
       true, "a b"},  // a no-break space is a space
      {"\xC0\xFF", true, "Ay"},
      {"\x80uro", false, ""},  // the euro sign has no letters
      {"\x81", false, ""},     // undefined in the code page
      {"x\xD7y", false, ""},   // a multiplication sign
  };
  for (const Row& row : rows) {
    std::string out;
    EXPECT_EQ(foldToAscii(row.windows1252, &out), row.ok) << row.windows1252;
    if (row.ok) {
      EXPECT_EQ(out, row.ascii);
    }
  }
}

}  // namespace
}  // namespace orvia::text
