// Other programs started from a test: our probe hosts, built next to the test
// programs. Paths are wide, so the test programs run from any folder, also
// one whose name the ANSI code page cannot spell.
#pragma once

#include <windows.h>

#include <string>

namespace child_process {

// The full path of `file` in the folder of the running test program.
std::wstring BesideTestProgramW(const wchar_t* file);
// The same for narrow APIs, in the ANSI code page: where the folder's name has
// characters the code page lacks, its short (8.3) name when the volume keeps
// one. Prefer BesideTestProgramW.
std::string BesideTestProgram(const char* file);

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
// The same with a command line in the ANSI code page.
Outcome Run(const std::string& commandLine, const char* environmentName = nullptr,
            const char* environmentValue = nullptr);

} // namespace child_process
