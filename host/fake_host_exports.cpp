// The host functions our host exports by name. Each can be left out of a
// build (FAKE_HOST_OMIT_<name>) to make a host that lacks it.
// The plug-in calls six of them; the others only have to exist, and if one
// is ever called it is logged.
#include "fake_host.h"

extern "C" {

#ifndef FAKE_HOST_OMIT_QVA_GetVersion
__declspec(dllexport) const char* WINAPI QVA_GetVersion() {
    return fake_host::GetVersion();
}
#endif
#ifndef FAKE_HOST_OMIT_QVA_Command
__declspec(dllexport) void QVA_Command() {
    fake_host::LogUnexpected("QVA_Command");
}
#endif
#ifndef FAKE_HOST_OMIT_QVA_GetWindowHandles
__declspec(dllexport) void QVA_GetWindowHandles() {
    fake_host::LogUnexpected("QVA_GetWindowHandles");
}
#endif
#ifndef FAKE_HOST_OMIT_QVA_RegisterCommand
__declspec(dllexport) int WINAPI
    QVA_RegisterCommand(const char* comment, int menuType, fake_host::CommandCallback callback) {
    return fake_host::RegisterCommand(comment, menuType, callback);
}
#endif
#ifndef FAKE_HOST_OMIT_QVA_RegisterUICallback
__declspec(dllexport) int WINAPI
    QVA_RegisterUICallback(int commandId, fake_host::StateCallback callback) {
    return fake_host::RegisterUICallback(commandId, callback);
}
#endif
#ifndef FAKE_HOST_OMIT_QVA_GetDataFolder
__declspec(dllexport) void QVA_GetDataFolder() {
    fake_host::LogUnexpected("QVA_GetDataFolder");
}
#endif
#ifndef FAKE_HOST_OMIT_QVA_GetTempFolder
__declspec(dllexport) void QVA_GetTempFolder() {
    fake_host::LogUnexpected("QVA_GetTempFolder");
}
#endif
#ifndef FAKE_HOST_OMIT_QVA_GetTempFileName
__declspec(dllexport) void QVA_GetTempFileName() {
    fake_host::LogUnexpected("QVA_GetTempFileName");
}
#endif
#ifndef FAKE_HOST_OMIT_QVA_GetCurrentMailBox
__declspec(dllexport) void QVA_GetCurrentMailBox() {
    fake_host::LogUnexpected("QVA_GetCurrentMailBox");
}
#endif
#ifndef FAKE_HOST_OMIT_QVA_SetCurrentMailBox
__declspec(dllexport) void QVA_SetCurrentMailBox() {
    fake_host::LogUnexpected("QVA_SetCurrentMailBox");
}
#endif
#ifndef FAKE_HOST_OMIT_QVA_GetCurrentFolder
__declspec(dllexport) const char* WINAPI QVA_GetCurrentFolder() {
    return fake_host::GetCurrentFolder();
}
#endif
#ifndef FAKE_HOST_OMIT_QVA_SetCurrentFolder
__declspec(dllexport) void QVA_SetCurrentFolder() {
    fake_host::LogUnexpected("QVA_SetCurrentFolder");
}
#endif
#ifndef FAKE_HOST_OMIT_QVA_GetFolderDisplayName
__declspec(dllexport) const char* WINAPI QVA_GetFolderDisplayName(const char* folder) {
    return fake_host::GetFolderDisplayName(folder);
}
#endif
#ifndef FAKE_HOST_OMIT_QVA_SetMessageText
__declspec(dllexport) void QVA_SetMessageText() {
    fake_host::LogUnexpected("QVA_SetMessageText");
}
#endif
#ifndef FAKE_HOST_OMIT_QVA_GetCurrentMail
__declspec(dllexport) void QVA_GetCurrentMail() {
    fake_host::LogUnexpected("QVA_GetCurrentMail");
}
#endif
#ifndef FAKE_HOST_OMIT_QVA_SetCurrentMail
__declspec(dllexport) void QVA_SetCurrentMail() {
    fake_host::LogUnexpected("QVA_SetCurrentMail");
}
#endif
#ifndef FAKE_HOST_OMIT_QVA_GetNextMail
__declspec(dllexport) void QVA_GetNextMail() {
    fake_host::LogUnexpected("QVA_GetNextMail");
}
#endif
#ifndef FAKE_HOST_OMIT_QVA_SetSel
__declspec(dllexport) void QVA_SetSel() {
    fake_host::LogUnexpected("QVA_SetSel");
}
#endif
#ifndef FAKE_HOST_OMIT_QVA_AppendMessage
__declspec(dllexport) void QVA_AppendMessage() {
    fake_host::LogUnexpected("QVA_AppendMessage");
}
#endif
#ifndef FAKE_HOST_OMIT_QVA_MoveSelectedMessages
__declspec(dllexport) int WINAPI QVA_MoveSelectedMessages(const char* folder, int reserved) {
    return fake_host::MoveSelectedMessages(folder, reserved);
}
#endif
#ifndef FAKE_HOST_OMIT_QVA_GetStatus
__declspec(dllexport) void QVA_GetStatus() {
    fake_host::LogUnexpected("QVA_GetStatus");
}
#endif
#ifndef FAKE_HOST_OMIT_QVA_SetStatus
__declspec(dllexport) void QVA_SetStatus() {
    fake_host::LogUnexpected("QVA_SetStatus");
}
#endif
#ifndef FAKE_HOST_OMIT_QVA_ComposeMail
__declspec(dllexport) void QVA_ComposeMail() {
    fake_host::LogUnexpected("QVA_ComposeMail");
}
#endif
#ifndef FAKE_HOST_OMIT_QVA_GetCharSet
__declspec(dllexport) void QVA_GetCharSet() {
    fake_host::LogUnexpected("QVA_GetCharSet");
}
#endif
#ifndef FAKE_HOST_OMIT_QVA_GetSource
__declspec(dllexport) void QVA_GetSource() {
    fake_host::LogUnexpected("QVA_GetSource");
}
#endif
#ifndef FAKE_HOST_OMIT_QVA_SetSource
__declspec(dllexport) void QVA_SetSource() {
    fake_host::LogUnexpected("QVA_SetSource");
}
#endif
#ifndef FAKE_HOST_OMIT_QVA_GetSize
__declspec(dllexport) void QVA_GetSize() {
    fake_host::LogUnexpected("QVA_GetSize");
}
#endif
#ifndef FAKE_HOST_OMIT_QVA_GetHeader
__declspec(dllexport) void QVA_GetHeader() {
    fake_host::LogUnexpected("QVA_GetHeader");
}
#endif
#ifndef FAKE_HOST_OMIT_QVA_GetText
__declspec(dllexport) void QVA_GetText() {
    fake_host::LogUnexpected("QVA_GetText");
}
#endif
#ifndef FAKE_HOST_OMIT_QVA_SetText
__declspec(dllexport) void QVA_SetText() {
    fake_host::LogUnexpected("QVA_SetText");
}
#endif
#ifndef FAKE_HOST_OMIT_QVA_GetSpecifiedHeader
__declspec(dllexport) void QVA_GetSpecifiedHeader() {
    fake_host::LogUnexpected("QVA_GetSpecifiedHeader");
}
#endif
#ifndef FAKE_HOST_OMIT_QVA_SetSpecifiedHeader
__declspec(dllexport) void QVA_SetSpecifiedHeader() {
    fake_host::LogUnexpected("QVA_SetSpecifiedHeader");
}
#endif
#ifndef FAKE_HOST_OMIT_QVA_CompGetCharSet
__declspec(dllexport) void QVA_CompGetCharSet() {
    fake_host::LogUnexpected("QVA_CompGetCharSet");
}
#endif
#ifndef FAKE_HOST_OMIT_QVA_CompGetSource
__declspec(dllexport) void QVA_CompGetSource() {
    fake_host::LogUnexpected("QVA_CompGetSource");
}
#endif
#ifndef FAKE_HOST_OMIT_QVA_CompSetSource
__declspec(dllexport) void QVA_CompSetSource() {
    fake_host::LogUnexpected("QVA_CompSetSource");
}
#endif
#ifndef FAKE_HOST_OMIT_QVA_CompGetHeader
__declspec(dllexport) void QVA_CompGetHeader() {
    fake_host::LogUnexpected("QVA_CompGetHeader");
}
#endif
#ifndef FAKE_HOST_OMIT_QVA_CompGetSpecifiedHeader
__declspec(dllexport) void QVA_CompGetSpecifiedHeader() {
    fake_host::LogUnexpected("QVA_CompGetSpecifiedHeader");
}
#endif
#ifndef FAKE_HOST_OMIT_QVA_CompSetSpecifiedHeader
__declspec(dllexport) void QVA_CompSetSpecifiedHeader() {
    fake_host::LogUnexpected("QVA_CompSetSpecifiedHeader");
}
#endif
#ifndef FAKE_HOST_OMIT_QVA_CompGetText
__declspec(dllexport) void QVA_CompGetText() {
    fake_host::LogUnexpected("QVA_CompGetText");
}
#endif
#ifndef FAKE_HOST_OMIT_QVA_CompSetText
__declspec(dllexport) void QVA_CompSetText() {
    fake_host::LogUnexpected("QVA_CompSetText");
}
#endif
#ifndef FAKE_HOST_OMIT_QVA_CompAttachFile
__declspec(dllexport) void QVA_CompAttachFile() {
    fake_host::LogUnexpected("QVA_CompAttachFile");
}
#endif
#ifndef FAKE_HOST_OMIT_QVA_Alloc
__declspec(dllexport) void QVA_Alloc() {
    fake_host::LogUnexpected("QVA_Alloc");
}
#endif
#ifndef FAKE_HOST_OMIT_QVA_ReAlloc
__declspec(dllexport) void QVA_ReAlloc() {
    fake_host::LogUnexpected("QVA_ReAlloc");
}
#endif
#ifndef FAKE_HOST_OMIT_QVA_Free
__declspec(dllexport) void QVA_Free() {
    fake_host::LogUnexpected("QVA_Free");
}
#endif
#ifndef FAKE_HOST_OMIT_QVA_ISO_2022_JP
__declspec(dllexport) void QVA_ISO_2022_JP() {
    fake_host::LogUnexpected("QVA_ISO_2022_JP");
}
#endif
#ifndef FAKE_HOST_OMIT_QVA_ISO_2022_KR
__declspec(dllexport) void QVA_ISO_2022_KR() {
    fake_host::LogUnexpected("QVA_ISO_2022_KR");
}
#endif
#ifndef FAKE_HOST_OMIT_QVA_HZ_GB2312
__declspec(dllexport) void QVA_HZ_GB2312() {
    fake_host::LogUnexpected("QVA_HZ_GB2312");
}
#endif
#ifndef FAKE_HOST_OMIT_QVA_ISO_8859_2
__declspec(dllexport) void QVA_ISO_8859_2() {
    fake_host::LogUnexpected("QVA_ISO_8859_2");
}
#endif
#ifndef FAKE_HOST_OMIT_QVA_EUC_JP
__declspec(dllexport) void QVA_EUC_JP() {
    fake_host::LogUnexpected("QVA_EUC_JP");
}
#endif
#ifndef FAKE_HOST_OMIT_QVA_UTF_7
__declspec(dllexport) void QVA_UTF_7() {
    fake_host::LogUnexpected("QVA_UTF_7");
}
#endif
#ifndef FAKE_HOST_OMIT_QVA_UTF_8
__declspec(dllexport) void QVA_UTF_8() {
    fake_host::LogUnexpected("QVA_UTF_8");
}
#endif
#ifndef FAKE_HOST_OMIT_QVA_B64Convert
__declspec(dllexport) void QVA_B64Convert() {
    fake_host::LogUnexpected("QVA_B64Convert");
}
#endif
#ifndef FAKE_HOST_OMIT_QVA_QPConvert
__declspec(dllexport) void QVA_QPConvert() {
    fake_host::LogUnexpected("QVA_QPConvert");
}
#endif
#ifndef FAKE_HOST_OMIT_QVA_MIMEHeader
__declspec(dllexport) void QVA_MIMEHeader() {
    fake_host::LogUnexpected("QVA_MIMEHeader");
}
#endif
#ifndef FAKE_HOST_OMIT_QVA_SerializeRcpts
__declspec(dllexport) void QVA_SerializeRcpts() {
    fake_host::LogUnexpected("QVA_SerializeRcpts");
}
#endif
#ifndef FAKE_HOST_OMIT_QVA_Connect
__declspec(dllexport) void QVA_Connect() {
    fake_host::LogUnexpected("QVA_Connect");
}
#endif
#ifndef FAKE_HOST_OMIT_QVA_NextUnread
__declspec(dllexport) void QVA_NextUnread() {
    fake_host::LogUnexpected("QVA_NextUnread");
}
#endif
#ifndef FAKE_HOST_OMIT_QVA_ProcessMail
__declspec(dllexport) void QVA_ProcessMail() {
    fake_host::LogUnexpected("QVA_ProcessMail");
}
#endif
}
