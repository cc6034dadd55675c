// Other programs started from a test: our probe hosts, built next to the test
// programs. Paths are wide, so the test programs run from any folder, also
// one whose name the ANSI code page cannot spell.
#pragma once

#include <windows.h>

#include <string>

namespace child_process {

struct Outcome {
    bool started = false;
    DWORD exitCode = 0;
    std::string output; // what it wrote to standard output, line ends as "\n"
};

// Runs `commandLine` to its end. `environmentName`, when given, is set to
// `environmentValue` for the child (a null value removes it) and restored
// after. The child ends with this process, should this one be ended first.
Outcome Run(const std::wstring& commandLine, const char* environmentName = nullptr,
            const char* environmentValue = nullptr);

} // namespace child_process
