// The 58 host functions that binding resolves, in the order of HostApi's
// fields: the one list from which the table, its binding and our hosts'
// exports are made.
//
// CALLED(name, FieldType, lookup): one of the six functions the plug-in calls,
// with the type of its field. OTHER(name, lookup): a function that is only
// resolved, held as a plain entry address.
// lookup 0: required, looked up in field order; a host without it is refused.
// lookup 1 to 4: optional, looked up after every required one in that order.
#pragma once

#define QVVORN_HOST_FUNCTIONS(CALLED, OTHER)                                                       \
    CALLED(QVA_GetVersion, QvaGetVersion, 0)                                                       \
    OTHER(QVA_Command, 0)                                                                          \
    OTHER(QVA_GetWindowHandles, 0)                                                                 \
    CALLED(QVA_RegisterCommand, QvaRegisterCommand, 0)                                             \
    CALLED(QVA_RegisterUICallback, QvaRegisterUICallback, 0)                                       \
    OTHER(QVA_GetDataFolder, 0)                                                                    \
    OTHER(QVA_GetTempFolder, 0)                                                                    \
    OTHER(QVA_GetTempFileName, 0)                                                                  \
    OTHER(QVA_GetCurrentMailBox, 0)                                                                \
    OTHER(QVA_SetCurrentMailBox, 0)                                                                \
    CALLED(QVA_GetCurrentFolder, QvaGetCurrentFolder, 0)                                           \
    OTHER(QVA_SetCurrentFolder, 0)                                                                 \
    CALLED(QVA_GetFolderDisplayName, QvaGetFolderDisplayName, 0)                                   \
    OTHER(QVA_SetMessageText, 0)                                                                   \
    OTHER(QVA_GetCurrentMail, 0)                                                                   \
    OTHER(QVA_SetCurrentMail, 0)                                                                   \
    OTHER(QVA_GetNextMail, 0)                                                                      \
    OTHER(QVA_SetSel, 0)                                                                           \
    OTHER(QVA_AppendMessage, 0)                                                                    \
    CALLED(QVA_MoveSelectedMessages, QvaMoveSelectedMessages, 0)                                   \
    OTHER(QVA_GetStatus, 0)                                                                        \
    OTHER(QVA_SetStatus, 1)                                                                        \
    OTHER(QVA_ComposeMail, 0)                                                                      \
    OTHER(QVA_GetCharSet, 0)                                                                       \
    OTHER(QVA_GetSource, 0)                                                                        \
    OTHER(QVA_SetSource, 0)                                                                        \
    OTHER(QVA_GetSize, 4)                                                                          \
    OTHER(QVA_GetHeader, 0)                                                                        \
    OTHER(QVA_GetText, 0)                                                                          \
    OTHER(QVA_SetText, 0)                                                                          \
    OTHER(QVA_GetSpecifiedHeader, 0)                                                               \
    OTHER(QVA_SetSpecifiedHeader, 0)                                                               \
    OTHER(QVA_CompGetCharSet, 0)                                                                   \
    OTHER(QVA_CompGetSource, 0)                                                                    \
    OTHER(QVA_CompSetSource, 0)                                                                    \
    OTHER(QVA_CompGetHeader, 0)                                                                    \
    OTHER(QVA_CompGetSpecifiedHeader, 0)                                                           \
    OTHER(QVA_CompSetSpecifiedHeader, 0)                                                           \
    OTHER(QVA_CompGetText, 0)                                                                      \
    OTHER(QVA_CompSetText, 0)                                                                      \
    OTHER(QVA_CompAttachFile, 0)                                                                   \
    OTHER(QVA_Alloc, 0)                                                                            \
    OTHER(QVA_ReAlloc, 0)                                                                          \
    OTHER(QVA_Free, 0)                                                                             \
    OTHER(QVA_ISO_2022_JP, 0)                                                                      \
    OTHER(QVA_ISO_2022_KR, 0)                                                                      \
    OTHER(QVA_HZ_GB2312, 0)                                                                        \
    OTHER(QVA_ISO_8859_2, 0)                                                                       \
    OTHER(QVA_EUC_JP, 0)                                                                           \
    OTHER(QVA_UTF_7, 0)                                                                            \
    OTHER(QVA_UTF_8, 0)                                                                            \
    OTHER(QVA_B64Convert, 0)                                                                       \
    OTHER(QVA_QPConvert, 0)                                                                        \
    OTHER(QVA_MIMEHeader, 0)                                                                       \
    OTHER(QVA_SerializeRcpts, 0)                                                                   \
    OTHER(QVA_Connect, 0)                                                                          \
    OTHER(QVA_NextUnread, 2)                                                                       \
    OTHER(QVA_ProcessMail, 3)
