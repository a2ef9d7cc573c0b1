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

TEST_F(BadInput, EveryDeclaredExportHasRows) {
  const std::string header = readFileBytes(sourceFile("include/orviadic.h"));
  std::map<std::string, int> rows;
  for (const CaseRow& c : caseTable("api/bad_input.txt")) ++rows[c.fields.at(0)];
  const std::string declaration = "ORVIADIC_API dic";
  int exports = 0;
  for (size_t at = header.find(declaration); at != std::string::npos;
       at = header.find(declaration, at + 1)) {
    const size_t name = at + declaration.size() - 3;
    const std::string exported = header.substr(name, header.find('(', name) - name);
    ++exports;
    EXPECT_GT(rows[exported], 0) << exported << " has no rows";
    EXPECT_EQ(exportsByName().count(exported), 1u) << exported << " cannot be called";
  }
  EXPECT_EQ(exports, 38);
}

}  // namespace
}  // namespace orvia::testing
