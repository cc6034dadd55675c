#include "resource_report.h"

namespace {

resource_report::Report last;

} // namespace

namespace resource_report {

Report Unload(plugin_module::Plugin& plugin) {
    last = Report();
    plugin_module::Unload(plugin);
    return last;
}

} // namespace resource_report

// Looked up by the probe in the host executable; a test program that uses
// this file exports it.
extern "C" __declspec(dllexport) void WINAPI
    QVT_ReportResources(LONG folderBodies, LONG registryKeys, LONG ownedPopups) {
    last = {true, folderBodies, registryKeys, ownedPopups};
}
