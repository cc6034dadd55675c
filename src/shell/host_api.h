// The host's function table, resolved by name from the host executable.
#pragma once

#include <windows.h>

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

// 58 entries in table order, then the host module (null: not bound).
struct HostApi {
    QvaGetVersion QVA_GetVersion;
    FARPROC QVA_Command;
    FARPROC QVA_GetWindowHandles;
    QvaRegisterCommand QVA_RegisterCommand;
    QvaRegisterUICallback QVA_RegisterUICallback;
    FARPROC QVA_GetDataFolder;
    FARPROC QVA_GetTempFolder;
    FARPROC QVA_GetTempFileName;
    FARPROC QVA_GetCurrentMailBox;
    FARPROC QVA_SetCurrentMailBox;
    QvaGetCurrentFolder QVA_GetCurrentFolder;
    FARPROC QVA_SetCurrentFolder;
    QvaGetFolderDisplayName QVA_GetFolderDisplayName;
    FARPROC QVA_SetMessageText;
    FARPROC QVA_GetCurrentMail;
    FARPROC QVA_SetCurrentMail;
    FARPROC QVA_GetNextMail;
    FARPROC QVA_SetSel;
    FARPROC QVA_AppendMessage;
    QvaMoveSelectedMessages QVA_MoveSelectedMessages;
    FARPROC QVA_GetStatus;
    FARPROC QVA_SetStatus;
    FARPROC QVA_ComposeMail;
    FARPROC QVA_GetCharSet;
    FARPROC QVA_GetSource;
    FARPROC QVA_SetSource;
    FARPROC QVA_GetSize;
    FARPROC QVA_GetHeader;
    FARPROC QVA_GetText;
    FARPROC QVA_SetText;
    FARPROC QVA_GetSpecifiedHeader;
    FARPROC QVA_SetSpecifiedHeader;
    FARPROC QVA_CompGetCharSet;
    FARPROC QVA_CompGetSource;
    FARPROC QVA_CompSetSource;
    FARPROC QVA_CompGetHeader;
    FARPROC QVA_CompGetSpecifiedHeader;
    FARPROC QVA_CompSetSpecifiedHeader;
    FARPROC QVA_CompGetText;
    FARPROC QVA_CompSetText;
    FARPROC QVA_CompAttachFile;
    FARPROC QVA_Alloc;
    FARPROC QVA_ReAlloc;
    FARPROC QVA_Free;
    FARPROC QVA_ISO_2022_JP;
    FARPROC QVA_ISO_2022_KR;
    FARPROC QVA_HZ_GB2312;
    FARPROC QVA_ISO_8859_2;
    FARPROC QVA_EUC_JP;
    FARPROC QVA_UTF_7;
    FARPROC QVA_UTF_8;
    FARPROC QVA_B64Convert;
    FARPROC QVA_QPConvert;
    FARPROC QVA_MIMEHeader;
    FARPROC QVA_SerializeRcpts;
    FARPROC QVA_Connect;
    FARPROC QVA_NextUnread;
    FARPROC QVA_ProcessMail;
    HMODULE hostModule;
};

// Zero-initialised at load; written only by binding.
extern HostApi hostApi;
