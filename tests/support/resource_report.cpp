#include "resource_report.h"

namespace {

resource_report::Report last;

} // namespace

namespace resource_report {

void Clear() {
    last = Report();
}

const Report& Last() {
    return last;
}

} // namespace resource_report

// Looked up by the probe in the host executable; a test program that uses
// this file exports it.
extern "C" __declspec(dllexport) void WINAPI
    QVT_ReportResources(LONG folderBodies, LONG registryKeys, LONG ownedPopups) {
    last.received = true;
    last.folderBodies = folderBodies;
    last.registryKeys = registryKeys;
    last.ownedPopups = ownedPopups;
}
