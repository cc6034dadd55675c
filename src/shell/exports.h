// The sixteen callbacks that the module exports to the host (qvvorn.def gives
// their ordinals). Each takes exactly the 32-bit stack arguments the host
// passes and removes them itself. All return 0, and no exception leaves any
// of them.
#pragma once

#include <windows.h>

extern "C" {

int WINAPI QVC_OnStart();
int WINAPI QVC_OnExit();
// Type 0, the main window's menu bar: the settings command. Type 1, the
// message list's context menu: the move-to-folder submenu. Others: nothing.
int WINAPI QVC_OnMenuInit(HWND window, HMENU menu, int menuType);
int WINAPI QVC_OnOpenFolder(DWORD);
int WINAPI QVC_OnOpenMail(DWORD);
int WINAPI QVC_OnEveryMinute();
int WINAPI QVC_OnOpenCompose(DWORD, DWORD);
int WINAPI QVC_OnOutgoing(DWORD, DWORD);
int WINAPI QVC_OnKeyDispatch(DWORD, DWORD, DWORD);
int WINAPI QVC_OnRetrieve(DWORD, DWORD);
int WINAPI QVC_OnSend(DWORD);
int WINAPI QVC_OnFinishRetrieve(DWORD);
int WINAPI QVC_OnPlugInSetup(DWORD);
// Fills the host's plug-in information record (plugin_info.h).
int WINAPI QVC_OnPlugInInfo(char* record);
// Drop kinds 1 and 2 put `targetFolder` at the front of the folder history
// with no command bound; a null or empty folder text is not recorded.
int WINAPI QVC_OnDragDrop(const char* targetFolder, DWORD, DWORD, DWORD dropKind);
int WINAPI QVC_OnBeforeFilter2(DWORD, DWORD, DWORD, DWORD);

} // extern "C"
