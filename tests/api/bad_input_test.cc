// Every export called with bad arguments: null handles, another dictionary's handle,
// null strings and strings ending just before a page that cannot be read, buffers too
// small or unwritable (placed against such a page, so that a write past their stated size
// faults), fixed-size outputs that reach into it, and selectors just out of range. The
// rows (tests/data/api/bad_input.txt, which says how they read) give each call's result
// and what it leaves in the caller's buffer. Every export the header declares has rows.
#include <map>

#include "bad_input_fixture.h"

namespace orvia::testing {
namespace {

using BadInput = BadInputFixture;

TEST_F(BadInput, EveryExportRefusesWhatItCannotUseAndKeepsTheCallersBytes) {
  for (const CaseRow& c : caseTable("api/bad_input.txt")) {
    SCOPED_TRACE(c.line);
    const auto found = exportsByName().find(c.fields.at(0));
    ASSERT_NE(found, exportsByName().end());
    const Outcome outcome = call(found->second, c);
    if (c.fields.at(3) != "-") {
      EXPECT_EQ(outcome.result, uint64_t(c.number(3)));
    }
    if (c.fields.at(4) != "-") {
      EXPECT_EQ(outcome.bytes, *c.bytes(4));
    }
  }
}

// Every export the header declares can be called and has rows.
TEST_F(BadInput, EveryDeclaredExportHasRows) {
  std::map<std::string, int> rows;
  for (const CaseRow& c : caseTable("api/bad_input.txt")) ++rows[c.fields.at(0)];
  for (const auto& [name, fn] : exportsByName()) EXPECT_GT(rows[name], 0) << name << " has no rows";
  const std::string header = readFileBytes(dataPath("../../include/orviadic.h"));
  size_t declared = 0;
  for (size_t at = header.find("ORVIADIC_API dic"); at != std::string::npos;
       at = header.find("ORVIADIC_API dic", at + 1))
    ++declared;
  EXPECT_EQ(exportsByName().size(), declared);
  EXPECT_EQ(declared, 38u);
}

}  // namespace
}  // namespace orvia::testing
