/* A plug-in that fails every test, for the bundle check alone (never
   shipped): like ours it saves its two values at every unload, at process
   exit too, and worse than ours it creates the mail client's key to do so.
   QVVORN_FAULT=hang-load or hang-unload makes it hang in DllMain instead,
   holding the loader lock. */
#include <windows.h>

/* The plug-in's sixteen exports, each doing nothing, are the idle module's;
   its entry handler becomes a plain function. */
#define DllMain IdleDllMain
#include "../contract/idle_module.c"
#undef DllMain

static BOOL FaultIs(const char* name) {
    char value[32];
    DWORD length = GetEnvironmentVariableA("QVVORN_FAULT", value, sizeof value);
    return length > 0 && length < sizeof value && lstrcmpA(value, name) == 0;
}

static void SaveValues(void) {
    static const char folders[] = "FromTheFaultyModule*??*SandboxOnly";
    DWORD most = 7;
    HKEY key = NULL;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Halvane\\QV2\\Settings", 0, NULL, 0,
                        KEY_SET_VALUE, NULL, &key, NULL) == ERROR_SUCCESS) {
        RegSetValueExA(key, "VornMax", 0, REG_DWORD, (const BYTE*)&most, sizeof most);
        RegSetValueExA(key, "VornFolder", 0, REG_SZ, (const BYTE*)folders, sizeof folders);
        RegCloseKey(key);
    }
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    (void)instance;
    (void)reserved;
    if (reason == DLL_PROCESS_ATTACH && FaultIs("hang-load")) {
        Sleep(INFINITE);
    }
    if (reason == DLL_PROCESS_DETACH) {
        if (FaultIs("hang-unload")) {
            Sleep(INFINITE);
        }
        SaveValues();
    }
    return TRUE;
}
