// A shared object cannot refuse to load: when the load steps fail, the library stays
// mapped and its exports answer with their failure values.
#include "platform/module_entry.h"

namespace {

__attribute__((constructor)) void attachOnLoad() {
  orvia::platform::onModuleAttach(nullptr);
}
__attribute__((destructor)) void detachOnUnload() {
  orvia::platform::onModuleDetach();
}

}  // namespace
