// How orviadic lookup shows an entry's text, over tests/data/tools/entry_text.txt.
#include "entry_text.h"

#include <gtest/gtest.h>

#include "support/case_table.h"

namespace orviadic {
namespace {

TEST(RenderEntry, LinesTagsTheEndMarkerAndEmphasis) {
  for (const orvia::testing::CaseRow& c : orvia::testing::caseTable("tools/entry_text.txt")) {
    SCOPED_TRACE(c.line);
    EXPECT_EQ(renderEntry(*c.bytes(1), c.fields[0] == "bold"), *c.bytes(2));
  }
}

}  // namespace
}  // namespace orviadic
