// The code pages of the languages and the ASCII folding, over tests/data/text/.
#include <gtest/gtest.h>

#include "support/case_table.h"
#include "text/ascii_fold.h"
#include "text/code_page.h"
#include "text/entry_text.h"

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

TEST(RenderEntry, LinesTagsTheEndMarkerAndCharacterReferences) {
  testing::forEachCase("text/entry_text.txt", [&](const testing::CaseRow& c) {
    EXPECT_EQ(renderEntry(*c.bytes(1)), *c.bytes(2));
  });
}

}  // namespace
}  // namespace orvia::text
