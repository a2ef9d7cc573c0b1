// The code pages of the languages and the ASCII folding, over tests/data/text/.
#include <gtest/gtest.h>
#include <iconv.h>

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

// iconv's own converter for the code page, what the built-in table must agree with.
std::optional<std::string> throughIconv(const char* to, const char* from, std::string in) {
  iconv_t cd = iconv_open(to, from);
  std::string out(8, '\0');
  char* inAt = in.data();
  char* outAt = out.data();
  size_t inLeft = in.size(), outLeft = out.size();
  const bool converted = iconv(cd, &inAt, &inLeft, &outAt, &outLeft) != size_t(-1);
  iconv_close(cd);
  if (!converted) return std::nullopt;
  out.resize(out.size() - outLeft);
  return out;
}

TEST(CodePage, WesternTableAgreesWithIconvOnEveryByteAndCodePoint) {
  const char* western = codePageName(1);
  CodePageConverter toUtf8(western, CodePageConverter::Direction::kToUtf8);
  CodePageConverter toWestern(western);
  const auto ours = [](CodePageConverter& converter, const std::string& in) {
    std::string out;
    return converter.convert(in, &out) ? std::optional(out) : std::nullopt;
  };
  for (int byte = 1; byte < 256; ++byte) {
    const std::string in(1, char(byte));
    ASSERT_EQ(ours(toUtf8, in), throughIconv("UTF-8", western, in)) << byte;
  }
  for (uint32_t codePoint = 1; codePoint <= 0x10FFFF; ++codePoint) {
    if (codePoint >= 0xD800 && codePoint <= 0xDFFF) continue;
    std::string in;
    appendUtf8(codePoint, &in);
    ASSERT_EQ(ours(toWestern, in), throughIconv(western, "UTF-8", in)) << codePoint;
  }
}

TEST(RenderEntry, LinesTagsTheEndMarkerAndCharacterReferences) {
  testing::forEachCase("text/entry_text.txt", [&](const testing::CaseRow& c) {
    EXPECT_EQ(renderEntry(*c.bytes(1)), *c.bytes(2));
  });
}

}  // namespace
}  // namespace orvia::text
