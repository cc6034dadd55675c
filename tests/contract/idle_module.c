/* A module that does nothing, with the plug-in's sixteen exports and imports
   from the same system DLLs: what a load and unload cost the host's process
   when the module itself adds nothing. */
#include <windows.h>
#include <commctrl.h>
#include <stdlib.h>

/* One function of each system DLL, so the loader binds the same set. */
volatile FARPROC kept[5];

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    (void)instance;
    (void)reserved;
    if (reason == 0xFFFFFFFF) {
        kept[0] = (FARPROC)RegCloseKey;
        kept[1] = (FARPROC)InitCommonControlsEx;
        kept[2] = (FARPROC)DestroyMenu;
        kept[3] = (FARPROC)free;
        kept[4] = (FARPROC)lstrlenA;
    }
    return TRUE;
}

#define IDLE(name, ...) \
    int WINAPI name(__VA_ARGS__) { return 0; }
#define ARG DWORD

IDLE(QVC_OnStart, void)
IDLE(QVC_OnExit, void)
IDLE(QVC_OnMenuInit, ARG a, ARG b, ARG c)
IDLE(QVC_OnOpenFolder, ARG a)
IDLE(QVC_OnOpenMail, ARG a)
IDLE(QVC_OnEveryMinute, void)
IDLE(QVC_OnOpenCompose, ARG a, ARG b)
IDLE(QVC_OnOutgoing, ARG a, ARG b)
IDLE(QVC_OnKeyDispatch, ARG a, ARG b, ARG c)
IDLE(QVC_OnRetrieve, ARG a, ARG b)
IDLE(QVC_OnSend, ARG a)
IDLE(QVC_OnFinishRetrieve, ARG a)
IDLE(QVC_OnPlugInSetup, ARG a)
IDLE(QVC_OnPlugInInfo, ARG a)
IDLE(QVC_OnDragDrop, ARG a, ARG b, ARG c, ARG d)
IDLE(QVC_OnBeforeFilter2, ARG a, ARG b, ARG c, ARG d)
