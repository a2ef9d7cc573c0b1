// The code pages of the languages and the ASCII folding, over tests/data/text/.
#include <gtest/gtest.h>

#include <optional>

#include "support/case_table.h"
#include "text/ascii_fold.h"
#include "text/code_page.h"
#include "text/entry_text.h"
#include "text/utf8.h"

namespace orvia::text {
namespace {

using namespace orvia::testing;

TEST(CodePage, ConvertsReplacesAndFoldsAsTheTableSays) {
  forEachCase("text/conversions.txt", [&](const CaseRow& c) {
    const std::string& operation = c.fields.at(0);
    const std::string in = *c.bytes(2);
    std::string out;
    bool converted = false;
    if (operation == "fold") {
      converted = foldToAscii(in, &out);
    } else {
      const char* name = codePageName(uint32_t(c.number(1)));
      ASSERT_EQ(name == nullptr, c.fields[3] == "none");
      if (name == nullptr) return;
      CodePageConverter converter(name);
      ASSERT_TRUE(converter.valid());
      converted = operation == "replace" ? converter.convertReplacing(in, &out)
                                         : converter.convert(in, &out);
    }
    EXPECT_EQ(converted, c.number(3) != 0);
    EXPECT_EQ(converted ? out : std::string(), *c.bytes(4));  // out is unspecified when refused
  });
}

// The built-in table against iconv's own converter for the code page, which the class
// opens for the code page's other name, on every byte and code point.
TEST(CodePage, WesternTableAgreesWithIconvOnEveryByteAndCodePoint) {
  const auto toUtf8 = CodePageConverter::Direction::kToUtf8;
  CodePageConverter tableToUtf8(codePageName(1), toUtf8), iconvToUtf8("CP1252", toUtf8);
  CodePageConverter table(codePageName(1)), iconvConverter("CP1252");
  ASSERT_TRUE(iconvToUtf8.valid() && iconvConverter.valid());
  const auto converted = [](CodePageConverter& converter, const std::string& in) {
    std::string out;
    return converter.convert(in, &out) ? std::optional(out) : std::nullopt;
  };
  for (int byte = 1; byte < 256; ++byte) {
    const std::string in(1, char(byte));
    ASSERT_EQ(converted(tableToUtf8, in), converted(iconvToUtf8, in)) << byte;
  }
  for (uint32_t codePoint = 1; codePoint <= 0x10FFFF; ++codePoint) {
    if (codePoint >= 0xD800 && codePoint <= 0xDFFF) continue;
    std::string in;
    appendUtf8(codePoint, &in);
    ASSERT_EQ(converted(table, in), converted(iconvConverter, in)) << codePoint;
  }
}

TEST(RenderEntry, LinesTagsTheEndMarkerAndCharacterReferences) {
  testing::forEachCase("text/entry_text.txt", [&](const testing::CaseRow& c) {
    EXPECT_EQ(renderEntry(*c.bytes(1)), *c.bytes(2));
  });
}

}  // namespace
}  // namespace orvia::text
