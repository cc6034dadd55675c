// The exported callbacks, called directly: they work on the test program's
// history (ActiveHistory) and on whatever host table the test sets up.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <stdexcept>

#include "failing_allocation.h"
#include "fake_host_api.h"
#include "history/folder_history.h"
#include "shell/plugin_instance.h"
#include "shell/exports.h"
#include "shell/host_api.h"

namespace {

int registerCalls = 0;

int WINAPI RaisingRegisterCommand(const char*, int, HostCommandCallback) {
    ++registerCalls;
    throw std::runtime_error("the host's registration failed");
}

class Exports : public fake_host_api::HostedTest {
  protected:
    void SetUp() override {
        HostedTest::SetUp();
        hostApi = HostApi{};
        Fill("Alpha,Beta(7),Gamma");
        registerCalls = 0;
    }
};

TEST_F(Exports, DropKindsOneAndTwoRecordTheFolderFirstWithoutCommand) {
    EXPECT_EQ(QVC_OnDragDrop("Delta", 0, 0, 1), 0);
    EXPECT_EQ(History(), "Delta,Alpha,Beta(7),Gamma");
    EXPECT_EQ(QVC_OnDragDrop("Beta", 0, 0, 2), 0);
    EXPECT_EQ(History(), "Beta,Delta,Alpha,Gamma");
}

TEST_F(Exports, DropOfOtherKindsChangesNothing) {
    for (DWORD kind : {0u, 3u, 4u, 0xFFFFFFFFu, 0x101u, 0x10001u, 0x10002u}) {
        SCOPED_TRACE(kind);
        EXPECT_EQ(QVC_OnDragDrop("Delta", 0, 0, kind), 0);
        EXPECT_EQ(QVC_OnDragDrop("Beta", 0, 0, kind), 0);
    }
    EXPECT_EQ(History(), "Alpha,Beta(7),Gamma");
}

TEST_F(Exports, DropWithoutAFolderTextRecordsNothing) {
    for (DWORD kind : {1u, 2u}) {
        EXPECT_EQ(QVC_OnDragDrop(nullptr, 0, 0, kind), 0);
        EXPECT_EQ(QVC_OnDragDrop("", 0, 0, kind), 0);
    }
    EXPECT_EQ(History(), "Alpha,Beta(7),Gamma");
}

TEST_F(Exports, DropTrimsToTheCap) {
    maxFolders = 3;
    EXPECT_EQ(QVC_OnDragDrop("Delta", 0, 0, 1), 0);
    EXPECT_EQ(History(), "Delta,Alpha,Beta(7)");
}

// Exhausted memory inside the history raises; the callback still returns 0.
TEST_F(Exports, DropThatRunsOutOfMemoryReturnsZero) {
    {
        failing_allocation::FailingAllocation failing;
        bool raised = false;
        try {
            ActiveHistory().RecordFolder("Delta", 0, 1);
        } catch (...) {
            raised = true;
        }
        EXPECT_TRUE(raised); // what the callback has to stop
    }
    long failedBefore = failing_allocation::FailedAllocations();
    int result = -1;
    {
        failing_allocation::FailingAllocation failing;
        result = QVC_OnDragDrop("Epsilon", 0, 0, 1);
    }
    EXPECT_EQ(result, 0);
    EXPECT_GT(failing_allocation::FailedAllocations(), failedBefore);
    EXPECT_EQ(History().find("Epsilon"), std::string::npos);
}

// A host function that raises: the menu callback ends there and returns 0.
TEST_F(Exports, MenuInitStopsWhatTheHostRaises) {
    hostApi.QVA_RegisterCommand = RaisingRegisterCommand;
    HMENU bar = CreateMenu();
    HMENU context = CreatePopupMenu();
    for (int type : {0, 1}) {
        SCOPED_TRACE(type);
        int result = -1;
        EXPECT_NO_THROW(result = QVC_OnMenuInit(nullptr, type == 0 ? bar : context, type));
        EXPECT_EQ(result, 0);
    }
    EXPECT_EQ(registerCalls, 2);
    DestroyMenu(bar);
    DestroyMenu(context);
}

// With an empty table, a call into the host would crash: other types make none.
TEST_F(Exports, MenuInitOfOtherTypesCallsNothing) {
    HMENU context = CreatePopupMenu();
    for (int type : {2, 3, -1, 0x10000, 0x10001}) {
        EXPECT_EQ(QVC_OnMenuInit(nullptr, context, type), 0);
    }
    EXPECT_EQ(GetMenuItemCount(context), 0);
    EXPECT_EQ(History(), "Alpha,Beta(7),Gamma");
    DestroyMenu(context);
}

TEST_F(Exports, CallbacksWithoutWorkReturnZeroAndTouchNothing) {
    EXPECT_EQ(QVC_OnStart(), 0);
    EXPECT_EQ(QVC_OnExit(), 0);
    EXPECT_EQ(QVC_OnOpenFolder(1), 0);
    EXPECT_EQ(QVC_OnOpenMail(1), 0);
    EXPECT_EQ(QVC_OnEveryMinute(), 0);
    EXPECT_EQ(QVC_OnOpenCompose(1, 2), 0);
    EXPECT_EQ(QVC_OnOutgoing(1, 2), 0);
    EXPECT_EQ(QVC_OnKeyDispatch(1, 2, 3), 0);
    EXPECT_EQ(QVC_OnRetrieve(1, 2), 0);
    EXPECT_EQ(QVC_OnSend(1), 0);
    EXPECT_EQ(QVC_OnFinishRetrieve(1), 0);
    EXPECT_EQ(QVC_OnPlugInSetup(1), 0);
    EXPECT_EQ(QVC_OnBeforeFilter2(1, 2, 3, 4), 0);
    EXPECT_EQ(History(), "Alpha,Beta(7),Gamma");
    HostApi empty{};
    EXPECT_EQ(std::memcmp(&hostApi, &empty, sizeof empty), 0);
}

TEST_F(Exports, PlugInInfoReturnsZero) {
    char record[331];
    EXPECT_EQ(QVC_OnPlugInInfo(record), 0);
    EXPECT_STREQ(record + 80, "Tolvenar");
    EXPECT_STREQ(record + 160, "1.0");
}

} // namespace
