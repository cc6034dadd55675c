#include <windows.h>

#include "shell/module_handle.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    moduleHandle = instance;
    (void)reason;
    return TRUE;
}
