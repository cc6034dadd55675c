// The module's entry handler. Static construction (the settings load) runs
// before it; when it refuses the load, the runtime calls it again with
// DLL_PROCESS_DETACH and runs the static teardown (the settings save) before
// the loader lets the module go.
#include <windows.h>

#include "shell/bind_host_api.h"
#include "shell/module_handle.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    moduleHandle = instance;
    if (reason == DLL_PROCESS_ATTACH && BindHostApi() == 0) {
        return FALSE;
    }
    return TRUE;
}
