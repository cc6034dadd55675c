#include "abrupt_end.h"

#include <windows.h>

#include <cstdio>

#include "registry_sandbox.h"
#include "win_handles.h"

namespace abrupt_end {

namespace {

DWORD WINAPI FlushStandardOutput(void*) {
    std::fflush(stdout);
    return 0;
}

// The thread that is stopped may hold the lock of stdout (a crash inside
// printf), so the flush runs on a thread of its own that is given up on.
void FlushWithoutWaitingForever() {
    win_handles::KernelHandle flusher(
        CreateThread(nullptr, 0, FlushStandardOutput, nullptr, 0, nullptr));
    if (flusher) {
        WaitForSingleObject(flusher.get(), 2000);
    }
}

// Past the C runtime's buffer and its lock.
void WriteLine(const std::string& line) {
    std::string text = line + "\n";
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), text.data(), static_cast<DWORD>(text.size()),
              &written, nullptr);
}

} // namespace

void EndNow(const std::string& line, unsigned exitCode) {
    FlushWithoutWaitingForever();
    WriteLine(line);
    registry_sandbox::DiscardNow();
    // Not ExitProcess: the other threads stay where they are, whatever locks
    // they hold, instead of running the modules' detach code.
    TerminateProcess(GetCurrentProcess(), exitCode);
    ExitProcess(exitCode); // only if it could not terminate itself
}

} // namespace abrupt_end
