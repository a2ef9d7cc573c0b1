// The registry a test's library reads: private to the test, set by hand.
#pragma once

#include <cstdint>
#include <string>

namespace orvia::testing {

// From now until leaveTestRegistry, the test's key is its own: on POSIX the library's
// default key in hives kept in folder, on Windows a key of the process's own in the
// real registry, which other tests' processes do not see.
void enterTestRegistry(const std::string& folder);
void leaveTestRegistry();

// The test's key, for the library's setRegistryKey.
uint32_t testKeyRoot();
const char* testKeyPath();

// Makes the test's key hold exactly the values given as lines in the registry editor's
// export format ("Name"="text", "Name"=dword:0000000A, "Name"=hex:01,02), each ending
// with CR LF. False when they could not be written.
bool writeTestKey(const std::string& valueLines);

}  // namespace orvia::testing
