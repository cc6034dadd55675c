#include "resource_report.h"

#include <gtest/gtest.h>

namespace {

struct Report {
    bool received = false;
    LONG folderBodies = -1;
    LONG registryKeys = -1;
    LONG ownedPopups = -1;
};

Report last;

} // namespace

namespace resource_report {

void UnloadLeavingNothing(plugin_module::Plugin& plugin, const std::string& where) {
    last = Report();
    plugin_module::Unload(plugin);
    ASSERT_TRUE(last.received) << where << ": no report at unload";
    EXPECT_EQ(last.folderBodies, 0) << where << ": folder bodies left at unload";
    EXPECT_EQ(last.registryKeys, 0) << where << ": registry keys left open";
    EXPECT_EQ(last.ownedPopups, 0) << where << ": popup menus leaked";
}

} // namespace resource_report

// Looked up by the probe in the host executable; a test program that uses
// this file exports it.
extern "C" __declspec(dllexport) void WINAPI
    QVT_ReportResources(LONG folderBodies, LONG registryKeys, LONG ownedPopups) {
    last = {true, folderBodies, registryKeys, ownedPopups};
}
