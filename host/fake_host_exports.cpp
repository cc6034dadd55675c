// The host functions our host executables export by name; each host's .def
// file, made from the same list, says which of them it exports.
// The plug-in calls six of them; the others only have to exist, and if one
// is ever called it is logged.
#include <type_traits>

#include "fake_host.h"
#include "shell/host_api.h"

extern "C" {

#define QVVORN_CALLED_EXPORT(name, FieldType, lookup)
#define QVVORN_OTHER_EXPORT(name, lookup)                                                          \
    void name() {                                                                                  \
        fake_host::LogUnexpected(#name);                                                           \
    }
QVVORN_HOST_FUNCTIONS(QVVORN_CALLED_EXPORT, QVVORN_OTHER_EXPORT)
#undef QVVORN_CALLED_EXPORT
#undef QVVORN_OTHER_EXPORT

const char* WINAPI QVA_GetVersion() {
    return fake_host::GetVersion();
}

int WINAPI QVA_RegisterCommand(const char* comment, int menuType,
                               fake_host::CommandCallback callback) {
    return fake_host::RegisterCommand(comment, menuType, callback);
}

int WINAPI QVA_RegisterUICallback(int commandId, fake_host::StateCallback callback) {
    return fake_host::RegisterUICallback(commandId, callback);
}

const char* WINAPI QVA_GetCurrentFolder() {
    return fake_host::GetCurrentFolder();
}

const char* WINAPI QVA_GetFolderDisplayName(const char* folder) {
    return fake_host::GetFolderDisplayName(folder);
}

int WINAPI QVA_MoveSelectedMessages(const char* folder, int reserved) {
    return fake_host::MoveSelectedMessages(folder, reserved);
}

} // extern "C"

// The six take what the plug-in passes, as the table's fields say.
#define QVVORN_CALLED_CHECK(name, FieldType, lookup)                                               \
    static_assert(std::is_same<decltype(&name), FieldType>::value,                                 \
                  #name " as the plug-in calls it");
#define QVVORN_OTHER_CHECK(name, lookup)
QVVORN_HOST_FUNCTIONS(QVVORN_CALLED_CHECK, QVVORN_OTHER_CHECK)
#undef QVVORN_CALLED_CHECK
#undef QVVORN_OTHER_CHECK
