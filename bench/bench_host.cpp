// The host functions behind the benchmark's exports: each answers at once,
// so that what is measured is the plug-in and the menu calls it makes.
#include "bench_host.h"

namespace bench_host {

namespace {

int nextId = kFirstId;

} // namespace

int TakeCommandId() {
    int id = nextId;
    nextId = nextId >= kLastId ? kFirstId : nextId + 1;
    return id;
}

const char* currentFolder = "";
int lastCommandId = 0;

} // namespace bench_host

// The functions that fake_host.h declares for the exports.
namespace fake_host {

const char* GetVersion() {
    return "2.00.06";
}

int RegisterCommand(const char*, int, CommandCallback callback) {
    bench_host::CaptureCallback(callback);
    bench_host::lastCommandId = bench_host::TakeCommandId();
    return bench_host::lastCommandId;
}

int RegisterUICallback(int commandId, StateCallback) {
    return commandId;
}

const char* GetCurrentFolder() {
    return bench_host::currentFolder;
}

// Folder ids are their own display names.
const char* GetFolderDisplayName(const char* folder) {
    return folder;
}

int MoveSelectedMessages(const char*, int) {
    return 1;
}

void LogUnexpected(const char*) {}

} // namespace fake_host
