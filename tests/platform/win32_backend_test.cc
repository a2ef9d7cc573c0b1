// What only the Win32 backend has: paths resolved with the system's separator. (Progress
// messages to a window and the writers' mutex as a system object of its name are the
// contract's. The system's version functions read the library's own version resource in the
// portability test.)
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "dict/config.h"
#include "platform/platform.h"
#include "support/case_table.h"
#include "support/registry_fixture.h"

namespace orvia::platform {
namespace {

using namespace orvia::testing;

// Path resolution reads the real registry through the configured key.
using Win32Paths = RegistryFixture;

TEST_F(Win32Paths, EndInTheSystemSeparator) {
  forEachCase("platform/win32_paths.txt", [&](const CaseRow& c) {
    writeDictKey("\"00010203Path\"=\"" + *c.bytes(0) + "\"\r\n");
    ASSERT_EQ(dict::setRegistryKey(testKeyRoot(), testKeyPath()), 1);
    char out[dict::kMaxPath];
    const int resolved =
        dict::resolveDictFilePath(uint32_t(c.number(1)), out, sizeof out, c.bytes(2)->c_str());
    EXPECT_EQ(resolved ? std::optional<std::string>(out) : std::nullopt, c.bytes(3));
  });
  dict::setRegistryKey(kHkeyLocalMachine, dict::kDefaultRegistryPath);
}

}  // namespace
}  // namespace orvia::platform
