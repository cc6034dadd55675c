#include "fake_host_api.h"

#include <algorithm>
#include <type_traits>

// Our host's exports of the six (host/fake_host_exports.cpp), linked in.
extern "C" {
#define QVVORN_CALLED_EXPORT(name, FieldType, lookup) std::remove_pointer_t<FieldType> name;
#define QVVORN_OTHER_EXPORT(name, lookup)
QVVORN_HOST_FUNCTIONS(QVVORN_CALLED_EXPORT, QVVORN_OTHER_EXPORT)
#undef QVVORN_CALLED_EXPORT
#undef QVVORN_OTHER_EXPORT
} // extern "C"

namespace fake_host_api {

namespace {

const char* WINAPI GetCurrentFolder() {
    if (TheFaults().currentFolderRaises) {
        throw HostFailure();
    }
    return QVA_GetCurrentFolder();
}

int WINAPI MoveSelectedMessages(const char* folder, int reserved) {
    if (TheFaults().moveRaises) {
        throw HostFailure();
    }
    return QVA_MoveSelectedMessages(folder, reserved);
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
    hostApi.QVA_GetVersion = QVA_GetVersion;
    hostApi.QVA_RegisterCommand = QVA_RegisterCommand;
    hostApi.QVA_RegisterUICallback = QVA_RegisterUICallback;
    hostApi.QVA_GetCurrentFolder = GetCurrentFolder;
    hostApi.QVA_GetFolderDisplayName = QVA_GetFolderDisplayName;
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

int HostedTest::CallsTo(const char* name) {
    const std::vector<std::string>& calls = Host().calls;
    return static_cast<int>(std::count(calls.begin(), calls.end(), name));
}

} // namespace fake_host_api
