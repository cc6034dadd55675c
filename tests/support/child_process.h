// Other programs started from a test: our probe hosts, built next to the test
// programs.
#pragma once

#include <windows.h>

#include <string>

namespace child_process {

// The full path of `file` in the folder of the running test program.
std::string BesideTestProgram(const char* file);

struct Outcome {
    bool started = false;
    DWORD exitCode = 0;
    std::string output; // what it wrote to standard output, line ends as "\n"
};

// Runs `commandLine` to its end. `environmentName`, when given, is set to
// `environmentValue` for the child (a null value removes it) and restored after.
Outcome Run(const std::string& commandLine, const char* environmentName = nullptr,
            const char* environmentValue = nullptr);

} // namespace child_process
