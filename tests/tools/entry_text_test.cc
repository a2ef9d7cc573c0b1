// How orviadic lookup shows an entry's text.
#include "entry_text.h"

#include <gtest/gtest.h>

namespace orviadic {
namespace {

TEST(RenderEntry, LinesTagsAndTheEndMarker) {
  struct Case {
    std::string text, shown;
  };
  const Case cases[] = {
      {"word\r\nA meaning.\r\n~!", "word\nA meaning.\n"},
      {"word\r\n~J[User-defined]\r\nmine\r\n~!", "word\n(User-defined)\nmine\n"},
      {"word\r\n~I[label]\r\n~!", "word\n(label)\n"},
      {"my note~!", "my note\n"},
      {"~Anote on it\r\nmore~!", "Note: note on it\nmore\n"},
      {"word\r\n~Qodd\r\n~!", "word\n[Q] odd\n"},
      {"word\r\n~ not a tag\r\n~!", "word\n~ not a tag\n"},
      {"word\nbare line ends\n~!", "word\nbare line ends\n"},
      {"~!", ""},
      {"", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(renderEntry(c.text, false), c.shown);
  }
}

TEST(RenderEntry, EmphasisesTheHeadwordLineOnly) {
  EXPECT_EQ(renderEntry("word\r\ntext\r\n~!", true), "\033[1mword\033[0m\ntext\n");
  EXPECT_EQ(renderEntry("~J[User-defined]\r\n~!", true), "(User-defined)\n");
}

}  // namespace
}  // namespace orviadic
