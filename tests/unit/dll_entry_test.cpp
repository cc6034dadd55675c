// The entry handler, called directly: the test program is no host.
#include <gtest/gtest.h>

#include <windows.h>

#include "shell/bind_host_api.h"
#include "shell/host_api.h"
#include "shell/module_handle.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved);

namespace {

const HINSTANCE kInstance = reinterpret_cast<HINSTANCE>(0x10000000);

// A host with every name, to bind the table before the handler runs.
const char* WINAPI Version() {
    return "2.00.06";
}
HMODULE WINAPI SomeModule(LPCSTR) {
    return reinterpret_cast<HMODULE>(0x00400000);
}
FARPROC WINAPI AnyName(HMODULE, LPCSTR) {
    return reinterpret_cast<FARPROC>(Version);
}

class DllEntryTest : public ::testing::Test {
  protected:
    void SetUp() override {
        savedHandle = moduleHandle;
        moduleHandle = nullptr;
        hostApi = HostApi{};
    }
    void TearDown() override {
        moduleHandle = savedHandle;
        hostApi = HostApi{};
    }
    HINSTANCE savedHandle = nullptr;
};

TEST_F(DllEntryTest, AttachRefusedWhenTheProcessIsNoHost) {
    EXPECT_EQ(DllMain(kInstance, DLL_PROCESS_ATTACH, nullptr), FALSE);
    EXPECT_EQ(moduleHandle, kInstance);
    EXPECT_EQ(hostApi.hostModule, nullptr);
}

TEST_F(DllEntryTest, AttachAcceptedWhenTheTableIsBound) {
    ASSERT_EQ(BindHostApiWith(HostResolver{SomeModule, AnyName}), 1);
    EXPECT_EQ(DllMain(kInstance, DLL_PROCESS_ATTACH, nullptr), TRUE);
    EXPECT_EQ(moduleHandle, kInstance);
}

TEST_F(DllEntryTest, OtherNotificationsStoreTheHandleAndContinue) {
    for (DWORD reason :
         {DWORD{DLL_PROCESS_DETACH}, DWORD{DLL_THREAD_ATTACH}, DWORD{DLL_THREAD_DETACH}}) {
        SCOPED_TRACE(reason);
        moduleHandle = nullptr;
        EXPECT_EQ(DllMain(kInstance, reason, nullptr), TRUE);
        EXPECT_EQ(moduleHandle, kInstance);
        EXPECT_EQ(hostApi.hostModule, nullptr); // no binding attempted
        EXPECT_EQ(hostApi.QVA_GetVersion, nullptr);
    }
}

TEST_F(DllEntryTest, ThreadNotificationsLeaveABoundTableAsItIs) {
    ASSERT_EQ(BindHostApiWith(HostResolver{SomeModule, AnyName}), 1);
    HostApi before = hostApi;
    EXPECT_EQ(DllMain(kInstance, DLL_THREAD_ATTACH, nullptr), TRUE);
    EXPECT_EQ(DllMain(kInstance, DLL_THREAD_DETACH, nullptr), TRUE);
    EXPECT_EQ(memcmp(&before, &hostApi, sizeof before), 0);
    EXPECT_EQ(moduleHandle, kInstance);
}

} // namespace
