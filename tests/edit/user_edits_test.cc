// Notes and records through the exports over the real record store, as one script of calls
// and checks: what each call leaves in the companions, what it refuses, and that refusals
// and damaged companions change no byte.
#include "user_edit_fixture.h"

namespace orvia::testing {
namespace {

using UserEdits = UserEditFixture;

TEST_F(UserEdits, ScriptOfCallsAndChecks) {
  for (const CaseRow& c : caseTable("edit/user_edits.txt")) expectRow(c);
}

}  // namespace
}  // namespace orvia::testing
