// The library's load and unload steps, run by the platform's module entry point (a
// shared object's constructor and destructor, or DllMain). Implemented by the library.
#pragma once

#include "platform/platform.h"

namespace orvia::platform {

// False when the library must not load.
bool onModuleAttach(ModuleHandle module);
void onModuleDetach();

}  // namespace orvia::platform
