// The text hives behind the POSIX registry, one per root key in a folder of its own:
// what the registry functions and regCreateKey share.
#pragma once

#include <functional>
#include <string>

#include "platform/platform.h"
#include "platform/posix/registry_text.h"

namespace orvia::platform {

// The key's full path in its hive: the root's name, then path.
// REQUIRES: root is one of the predefined root keys.
std::string fullKeyPath(RegRoot root, const std::string& path);

// Runs change on the current hive of root under the hive's lock file and writes the
// result back atomically; false when root is not a root key, change refuses, or a step
// fails. A missing hive, and its folder, is created only when createMissing is set.
bool rewriteHive(RegRoot root, bool createMissing,
                 const std::function<bool(regtext::Hive&)>& change);

}  // namespace orvia::platform
