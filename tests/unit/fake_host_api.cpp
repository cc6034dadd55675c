#include "fake_host_api.h"

#include "fake_host.h"
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

void HostedTest::SetUp() {
    savedTable_ = hostApi;
    savedMax_ = maxFolders;
    // The six functions the product calls, and nothing else.
    hostApi = HostApi{};
    hostApi.QVA_GetVersion = GetVersion;
    hostApi.QVA_RegisterCommand = RegisterCommand;
    hostApi.QVA_RegisterUICallback = RegisterUICallback;
    hostApi.QVA_GetCurrentFolder = GetCurrentFolder;
    hostApi.QVA_GetFolderDisplayName = GetFolderDisplayName;
    hostApi.QVA_MoveSelectedMessages = MoveSelectedMessages;
    hostApi.hostModule = GetModuleHandleA(nullptr);
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
