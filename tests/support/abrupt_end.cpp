#include "abrupt_end.h"

#include <windows.h>

#include <tlhelp32.h>

#include <cstdio>

#include "registry_sandbox.h"
#include "win_handles.h"

namespace abrupt_end {

namespace {

constexpr DWORD kStepMilliseconds = 2000;

// A stopped thread may hold a lock that `step` needs (a crash inside printf
// holds stdout's), so the step runs on a thread of its own that is given up
// on after a while.
void RunForAtMost(LPTHREAD_START_ROUTINE step) {
    win_handles::KernelHandle thread(CreateThread(nullptr, 0, step, nullptr, 0, nullptr));
    if (thread) {
        WaitForSingleObject(thread.get(), kStepMilliseconds);
    }
}

DWORD WINAPI FlushStandardOutput(void*) {
    std::fflush(stdout);
    return 0;
}

DWORD WINAPI DiscardSandbox(void*) {
    registry_sandbox::DiscardNow();
    return 0;
}

// Past the C runtime's buffer and its lock.
void WriteLine(const std::string& line) {
    std::string text = line + "\n";
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), text.data(), static_cast<DWORD>(text.size()),
              &written, nullptr);
}

// So that none of them writes the sandbox key again once it is deleted.
void SuspendOtherThreads() {
    HANDLE opened = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (opened == INVALID_HANDLE_VALUE) {
        return;
    }
    win_handles::KernelHandle snapshot(opened);
    THREADENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = Thread32First(snapshot.get(), &entry); more;
         more = Thread32Next(snapshot.get(), &entry)) {
        if (entry.th32OwnerProcessID == GetCurrentProcessId() &&
            entry.th32ThreadID != GetCurrentThreadId()) {
            win_handles::KernelHandle thread(
                OpenThread(THREAD_SUSPEND_RESUME, FALSE, entry.th32ThreadID));
            if (thread) {
                SuspendThread(thread.get());
            }
        }
    }
}

} // namespace

void EndNow(const std::string& line, unsigned exitCode) {
    RunForAtMost(FlushStandardOutput);
    WriteLine(line);
    SuspendOtherThreads();
    RunForAtMost(DiscardSandbox);
    // Not ExitProcess: that would run the modules' detach code on threads
    // stopped wherever they were.
    TerminateProcess(GetCurrentProcess(), exitCode);
    ExitProcess(exitCode); // only if it could not terminate itself
}

} // namespace abrupt_end
