#include "fake_host_api.h"

#include "fake_host.h"
#include "history/folder_history.h"
#include "shell/plugin_instance.h"

namespace fake_host_api {

namespace {

const char* WINAPI GetVersion() {
    return fake_host::GetVersion();
}

int WINAPI RegisterCommand(const char* comment, int menuType, HostCommandCallback callback) {
    return fake_host::RegisterCommand(comment, menuType, callback);
}

int WINAPI RegisterUICallback(int commandId, HostStateCallback callback) {
    return fake_host::RegisterUICallback(commandId, callback);
}

const char* WINAPI GetCurrentFolder() {
    if (TheFaults().currentFolderRaises) {
        throw HostFailure();
    }
    return fake_host::GetCurrentFolder();
}

const char* WINAPI GetFolderDisplayName(const char* folder) {
    return fake_host::GetFolderDisplayName(folder);
}

int WINAPI MoveSelectedMessages(const char* folder, int reserved) {
    if (TheFaults().moveRaises) {
        throw HostFailure();
    }
    return fake_host::MoveSelectedMessages(folder, reserved);
}

} // namespace

Faults& TheFaults() {
    static Faults faults;
    return faults;
}

HostApi BoundTable() {
    HostApi table{};
    table.QVA_GetVersion = GetVersion;
    table.QVA_RegisterCommand = RegisterCommand;
    table.QVA_RegisterUICallback = RegisterUICallback;
    table.QVA_GetCurrentFolder = GetCurrentFolder;
    table.QVA_GetFolderDisplayName = GetFolderDisplayName;
    table.QVA_MoveSelectedMessages = MoveSelectedMessages;
    table.hostModule = GetModuleHandleA(nullptr);
    return table;
}

void HostedTest::SetUp() {
    savedTable_ = hostApi;
    savedMax_ = maxFolders;
    hostApi = BoundTable();
    maxFolders = 10;
    TheFaults() = Faults();
    fake_host::ResetHost();
    ActiveHistory().Clear();
}

void HostedTest::TearDown() {
    ActiveHistory().Clear();
    fake_host::ResetHost();
    TheFaults() = Faults();
    maxFolders = savedMax_;
    hostApi = savedTable_;
}

} // namespace fake_host_api
