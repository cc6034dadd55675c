#include "abrupt_end.h"

#include <windows.h>

#include "registry_sandbox.h"

namespace abrupt_end {

void End(unsigned exitCode) {
    registry_sandbox::DiscardNow();
    TerminateProcess(GetCurrentProcess(), exitCode);
    ExitProcess(exitCode); // only if it could not terminate itself
}

void EndWithLine(const char* line, unsigned exitCode) {
    registry_sandbox::DiscardNow();
    // Past the C runtime, whose lock a stopped thread may hold; standard
    // output is unbuffered (safe_start), so nothing of it waits in a buffer.
    HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
    DWORD written = 0;
    WriteFile(output, line, lstrlenA(line), &written, nullptr);
    WriteFile(output, "\n", 1, &written, nullptr);
    End(exitCode);
}

} // namespace abrupt_end
