// The host's function table, resolved by name from the host executable.
#pragma once

#include <windows.h>

#include "shell/host_functions.h"

// Callbacks the plug-in hands to the host: a window (or an unread first value)
// and a value whose low 16 bits are the command id.
using HostCommandCallback = void(WINAPI*)(HWND window, DWORD param);
using HostStateCallback = int(WINAPI*)(DWORD first, DWORD param);

// The six host functions the plug-in calls.
using QvaGetVersion = const char*(WINAPI*)();
using QvaRegisterCommand = int(WINAPI*)(const char* comment, int menuType,
                                        HostCommandCallback callback);
using QvaRegisterUICallback = int(WINAPI*)(int commandId, HostStateCallback callback);
using QvaGetCurrentFolder = const char*(WINAPI*)();
using QvaGetFolderDisplayName = const char*(WINAPI*)(const char* folder);
using QvaMoveSelectedMessages = int(WINAPI*)(const char* folder, int reserved);

// 58 entries in table order, then the host module (null: not bound). The
// initialisers are constant, so the table stays zero-filled static data with
// no constructor code.
struct HostApi {
#define QVVORN_CALLED_FIELD(name, FieldType, lookup) FieldType name = nullptr;
#define QVVORN_OTHER_FIELD(name, lookup) FARPROC name = nullptr;
    QVVORN_HOST_FUNCTIONS(QVVORN_CALLED_FIELD, QVVORN_OTHER_FIELD)
#undef QVVORN_CALLED_FIELD
#undef QVVORN_OTHER_FIELD
    HMODULE hostModule = nullptr;
};

// Zero-initialised at load; written only by binding.
extern HostApi hostApi;
