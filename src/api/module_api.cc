#include "dict/config.h"
#include "platform/module_entry.h"

namespace orvia::platform {

bool onModuleAttach(ModuleHandle module) {
  return dict::moduleLoad(module);
}
void onModuleDetach() {
  dict::moduleUnload();
}

}  // namespace orvia::platform
