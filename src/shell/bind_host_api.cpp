#include "shell/bind_host_api.h"

#include "shell/host_api.h"
#include "shell/version_rule.h"

namespace {

// Every table field is pointer-sized; the six called functions have their own types.
template <typename Field> Field EntryAs(FARPROC entry) noexcept {
    return reinterpret_cast<Field>(reinterpret_cast<void (*)()>(entry));
}

struct HostName {
    const char* name;
    void (*store)(HostApi& api, FARPROC entry) noexcept;
};

#define QVVORN_HOST_NAME(field)                                                                    \
    HostName {                                                                                     \
#field, [](HostApi & api,                                                                  \
                   FARPROC entry) noexcept { api.field = EntryAs<decltype(api.field)>(entry); }    \
    }

// Looked up first, in table order; a missing one refuses the host.
constexpr HostName kRequiredNames[] = {
    QVVORN_HOST_NAME(QVA_GetVersion),
    QVVORN_HOST_NAME(QVA_Command),
    QVVORN_HOST_NAME(QVA_GetWindowHandles),
    QVVORN_HOST_NAME(QVA_RegisterCommand),
    QVVORN_HOST_NAME(QVA_RegisterUICallback),
    QVVORN_HOST_NAME(QVA_GetDataFolder),
    QVVORN_HOST_NAME(QVA_GetTempFolder),
    QVVORN_HOST_NAME(QVA_GetTempFileName),
    QVVORN_HOST_NAME(QVA_GetCurrentMailBox),
    QVVORN_HOST_NAME(QVA_SetCurrentMailBox),
    QVVORN_HOST_NAME(QVA_GetCurrentFolder),
    QVVORN_HOST_NAME(QVA_SetCurrentFolder),
    QVVORN_HOST_NAME(QVA_GetFolderDisplayName),
    QVVORN_HOST_NAME(QVA_SetMessageText),
    QVVORN_HOST_NAME(QVA_GetCurrentMail),
    QVVORN_HOST_NAME(QVA_SetCurrentMail),
    QVVORN_HOST_NAME(QVA_GetNextMail),
    QVVORN_HOST_NAME(QVA_SetSel),
    QVVORN_HOST_NAME(QVA_AppendMessage),
    QVVORN_HOST_NAME(QVA_MoveSelectedMessages),
    QVVORN_HOST_NAME(QVA_GetStatus),
    QVVORN_HOST_NAME(QVA_ComposeMail),
    QVVORN_HOST_NAME(QVA_GetCharSet),
    QVVORN_HOST_NAME(QVA_GetSource),
    QVVORN_HOST_NAME(QVA_SetSource),
    QVVORN_HOST_NAME(QVA_GetHeader),
    QVVORN_HOST_NAME(QVA_GetText),
    QVVORN_HOST_NAME(QVA_SetText),
    QVVORN_HOST_NAME(QVA_GetSpecifiedHeader),
    QVVORN_HOST_NAME(QVA_SetSpecifiedHeader),
    QVVORN_HOST_NAME(QVA_CompGetCharSet),
    QVVORN_HOST_NAME(QVA_CompGetSource),
    QVVORN_HOST_NAME(QVA_CompSetSource),
    QVVORN_HOST_NAME(QVA_CompGetHeader),
    QVVORN_HOST_NAME(QVA_CompGetSpecifiedHeader),
    QVVORN_HOST_NAME(QVA_CompSetSpecifiedHeader),
    QVVORN_HOST_NAME(QVA_CompGetText),
    QVVORN_HOST_NAME(QVA_CompSetText),
    QVVORN_HOST_NAME(QVA_CompAttachFile),
    QVVORN_HOST_NAME(QVA_Alloc),
    QVVORN_HOST_NAME(QVA_ReAlloc),
    QVVORN_HOST_NAME(QVA_Free),
    QVVORN_HOST_NAME(QVA_ISO_2022_JP),
    QVVORN_HOST_NAME(QVA_ISO_2022_KR),
    QVVORN_HOST_NAME(QVA_HZ_GB2312),
    QVVORN_HOST_NAME(QVA_ISO_8859_2),
    QVVORN_HOST_NAME(QVA_EUC_JP),
    QVVORN_HOST_NAME(QVA_UTF_7),
    QVVORN_HOST_NAME(QVA_UTF_8),
    QVVORN_HOST_NAME(QVA_B64Convert),
    QVVORN_HOST_NAME(QVA_QPConvert),
    QVVORN_HOST_NAME(QVA_MIMEHeader),
    QVVORN_HOST_NAME(QVA_SerializeRcpts),
    QVVORN_HOST_NAME(QVA_Connect),
};

// Looked up after the required ones, in this order; each is stored, null or not.
constexpr HostName kOptionalNames[] = {
    QVVORN_HOST_NAME(QVA_SetStatus),
    QVVORN_HOST_NAME(QVA_NextUnread),
    QVVORN_HOST_NAME(QVA_ProcessMail),
    QVVORN_HOST_NAME(QVA_GetSize),
};

#undef QVVORN_HOST_NAME

static_assert(sizeof kRequiredNames / sizeof kRequiredNames[0] == 54, "54 required names");
static_assert(sizeof(HostApi) == 59 * sizeof(void*), "58 entry fields and the host module");

// A host that gives no version text at all is taken as an older one: its
// text never reaches lstrlenA and lstrcmpA.
bool IsOlderHost(const char* version) noexcept {
    if (version == nullptr) {
        return true;
    }
    // cppcheck-suppress lstrlenACalled ; the version rule is defined on lstrlenA's count
    int length = lstrlenA(version);
    return IsOlderHostVersion(length < 0 ? 0 : static_cast<std::size_t>(length),
                              lstrcmpA(version, kSetStatusHostVersion));
}

} // namespace

int BindHostApiWith(const HostResolver& resolver) noexcept {
    if (hostApi.hostModule != nullptr) {
        return 1;
    }
    hostApi.hostModule = resolver.executableModule(nullptr);
    if (hostApi.hostModule == nullptr) {
        return 0;
    }
    for (const HostName& required : kRequiredNames) {
        FARPROC entry = resolver.lookup(hostApi.hostModule, required.name);
        required.store(hostApi, entry); // the missing name's field holds null
        if (entry == nullptr) {
            hostApi.hostModule = nullptr;
            return 0;
        }
    }
    for (const HostName& optional : kOptionalNames) {
        optional.store(hostApi, resolver.lookup(hostApi.hostModule, optional.name));
    }
    if (IsOlderHost(hostApi.QVA_GetVersion()) || hostApi.QVA_SetStatus != nullptr) {
        return 1;
    }
    hostApi.hostModule = nullptr;
    return 0;
}

int BindHostApi() noexcept {
    return BindHostApiWith(HostResolver{GetModuleHandleA, GetProcAddress});
}
