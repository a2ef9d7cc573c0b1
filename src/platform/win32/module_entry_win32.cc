// DllMain runs the library's load and unload steps; a failed load step makes the system
// refuse to load the library.
#include <windows.h>

#include "platform/module_entry.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  switch (reason) {
    case DLL_PROCESS_ATTACH:
      return orvia::platform::onModuleAttach(instance) ? TRUE : FALSE;
    case DLL_PROCESS_DETACH:
      orvia::platform::onModuleDetach();
      return TRUE;
    default:
      return TRUE;
  }
}
