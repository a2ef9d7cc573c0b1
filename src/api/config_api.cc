#include <cstdint>

#include "api/guard.h"
#include "dict/version.h"
#include "orviadic.h"

extern "C" {

int32_t ORVIADIC_API dicSetRegKey(void* root, const char* path) {
  // Root handles are compared by their low 32 bits, so a sign-extended 64-bit handle
  // and the 32-bit value name the same root.
  uint32_t rootValue = uint32_t(reinterpret_cast<uintptr_t>(root));
  return orvia::api::guarded(0, [&] {
    if (!orvia::platform::isReadable(path, 1)) return 0;
    return orvia::dict::setRegistryKey(rootValue, path);
  });
}

uint32_t ORVIADIC_API dicGetVersion(void) {
  return orvia::api::guarded(
      0u, [&] { return orvia::dict::readModuleVersion(orvia::dict::moduleState().moduleHandle); });
}

}  // extern "C"
