// What the tool makes of what a user types and what it lays out on the screen: the typed
// word composed from the terminal's bytes, put into the dictionary's code page, and text
// fitted to screen columns.
#include <gtest/gtest.h>

#include <clocale>

#include "cli.h"
#include "screen_columns.h"
#include "support/case_table.h"
#include "terminal_text.h"
#include "typed_word.h"

namespace orviadic {
namespace {

using namespace orvia::testing;  // the case tables

TEST(TypedWord, LooksUpOnlyWholeCharacters) {
  for (const CaseRow& c : caseTable("tools/typed_word.txt")) {
    SCOPED_TRACE(c.line);
    TypedWord typed;
    std::vector<std::string> lookedUp;
    const std::string sent = *c.bytes(1);
    for (char byte : sent) {  // 08 stands for Backspace, 1b for Escape
      if (byte == '\x1B') typed.clear();
      if (byte == '\x08' ? typed.dropLast() : byte != '\x1B' && typed.add(uint8_t(byte)))
        lookedUp.push_back(typed.text());
    }
    EXPECT_EQ(typed.text(), *c.bytes(2));
    EXPECT_EQ(lookedUp, c.fields[3].empty() ? std::vector<std::string>() : c.list(3));
  }
}

TEST(FitColumns, CountsScreenColumnsNotBytes) {
  ASSERT_NE(std::setlocale(LC_CTYPE, "C.UTF-8"), nullptr);
  for (const CaseRow& c : caseTable("tools/screen_columns.txt")) {
    SCOPED_TRACE(c.line);
    EXPECT_EQ(fitColumns(*c.bytes(1), int(c.number(2))), *c.bytes(3));
  }
  std::setlocale(LC_CTYPE, "C");
}

TEST(DictionaryWord, TakesTheCodePageOfByteZeroAndFoldsOnlySingleByteWords) {
  for (const CaseRow& c : caseTable("tools/dictionary_words.txt")) {
    SCOPED_TRACE(c.line);
    const uint32_t dictId = uint32_t(c.number(0));
    if (c.fields[2] == "fails") {
      EXPECT_THROW(toDictionaryWord(dictId, *c.bytes(1)), CommandFailure);
    } else {
      EXPECT_EQ(toDictionaryWord(dictId, *c.bytes(1)), *c.bytes(2));
      EXPECT_EQ(toTerminal(dictId, *c.bytes(2)), *c.bytes(3));
    }
  }
}

}  // namespace
}  // namespace orviadic
