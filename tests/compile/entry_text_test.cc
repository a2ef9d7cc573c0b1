#include "compile/content/entry_text.h"

#include <gtest/gtest.h>

#include <string>

namespace orvia::compile {
namespace {

struct TextRow {
  const char* rule;
  std::string headword, text, expected;
};

class EntryTextRows : public ::testing::TestWithParam<TextRow> {};

TEST_P(EntryTextRows, FollowsTheDocumentedConversion) {
  text::CodePageConverter converter("WINDOWS-1252");
  std::string out;
  ASSERT_TRUE(makeEntryText(GetParam().headword, GetParam().text, converter, &out));
  EXPECT_EQ(out, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    EntryText, EntryTextRows,
    ::testing::Values(TextRow{"HeadwordLineGoesFirst", "apple", "A fruit.\n",
                              "apple\r\nA fruit.\r\n~!"},
                      TextRow{"TextStartingWithTheHeadwordIsKept", "Apple",
                              "Apple \\Ap\"ple\\, n.\n   A fruit.\n",
                              "Apple \\Ap\"ple\\, n.\r\n   A fruit.\r\n~!"},
                      TextRow{"HeadwordIsComparedByteForByte", "apple", "Apple pie\n",
                              "apple\r\nApple pie\r\n~!"},
                      TextRow{"NoTextIsTheHeadwordAlone", "pear", "", "pear\r\n~!"},
                      TextRow{"OnlyLineBreaksIsNoText", "pear", "\n\r\n\n", "pear\r\n~!"},
                      TextRow{"CrLfLinesAndTrailingEmptyLines", "x", "x one\r\ntwo\r\n\r\n",
                              "x one\r\ntwo\r\n~!"},
                      TextRow{"InnerEmptyLinesStay", "w", "w\n\nb\n\n", "w\r\n\r\nb\r\n~!"},
                      TextRow{"LoneCrStaysInItsLine", "c", "c\ra\n", "c\ra\r\n~!"},
                      TextRow{"TildeAtALineStartGetsASpace", "t", "t\n~A tag\nmid~I line\n",
                              "t\r\n ~A tag\r\nmid~I line\r\n~!"},
                      TextRow{"TildeHeadwordLineToo", "~x", "about it\n", " ~x\r\nabout it\r\n~!"},
                      TextRow{"CodePageCharacter", "caf\xC3\xA9", "caf\xC3\xA9 au lait\n",
                              "caf\xE9 au lait\r\n~!"},
                      TextRow{"MissingCharacterAsReference", "alpha",
                              "alpha \xCE\xB1 \xF0\x9F\x98\x80\n", "alpha &#x3B1; &#x1F600;\r\n~!"},
                      TextRow{"BytesThatAreNotUtf8", "b",
                              std::string("b \xC3( \xFF \xE2\x82\n", 10), "b ?( ? ??\r\n~!"},
                      TextRow{"ZeroByte", "z", std::string("z a\0b\n", 6), "z a?b\r\n~!"}),
    [](const auto& info) { return std::string(info.param.rule); });

}  // namespace
}  // namespace orvia::compile
