// Setting the registry up as an installer does, for the orviadic tool's "config" and
// "install" commands and for tests. The library itself never creates a key: this lives
// in orvia_registry_setup, which the shipped libraries do not link.
#pragma once

#include "platform/platform.h"

namespace orvia::platform {

// Creates every missing key along path; false on failure.
bool regCreateKey(RegRoot root, const char* path);
// Removes the value name of the key; false when the key or the value does not exist or
// the change cannot be written.
bool regDeleteValue(RegRoot root, const char* path, const char* name);

}  // namespace orvia::platform
