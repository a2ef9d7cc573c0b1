// libOrviaText's C functions as a client calls them, over tests/data/text/orviatext.txt:
// the results, and no byte written where the conventions say none is.
#include "orviatext.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "support/case_table.h"

namespace {

using Convert = int32_t (*)(uint32_t, const char*, char*, uint32_t);

TEST(OrviaText, ResultsAndBuffersAsTheTableSays) {
  const std::map<std::string, Convert> functions{{"to-code-page", otxToCodePage},
                                                 {"to-utf8", otxToUtf8},
                                                 {"search-word", otxSearchWord},
                                                 {"entry", otxEntryToUtf8}};
  orvia::testing::forEachCase("text/orviatext.txt", [&](const orvia::testing::CaseRow& c) {
    const std::optional<std::string> text = c.bytes(2);
    const std::string& size = c.fields.at(3);
    std::string buffer(64, '\xEE');
    const bool measuring = size == "measure", nullBuffer = size.rfind("null", 0) == 0;
    const uint32_t stated =
        measuring ? 0 : uint32_t(std::stoul(nullBuffer ? size.substr(5) : size));
    char* out = measuring || nullBuffer ? nullptr : buffer.data();
    EXPECT_EQ(functions.at(c.fields[0])(uint32_t(c.number(1)), text ? text->c_str() : nullptr, out,
                                        stated),
              c.number(4));
    const std::string expected = c.fields.at(5) == "-" ? std::string() : *c.bytes(5);
    EXPECT_EQ(buffer.substr(0, expected.size()), expected);
    EXPECT_EQ(buffer.find_first_not_of('\xEE', expected.size()), std::string::npos);
  });
}

}  // namespace
