// Ends a test program at once, from any thread, when it cannot finish its
// run: the watchdog's time-out and a crash.
#pragma once

#include <string>

namespace abrupt_end {

// Flushes what the program wrote, writes `line` to standard output, deletes
// the sandbox registry key and ends the process with `exitCode`.
[[noreturn]] void EndNow(const std::string& line, unsigned exitCode);

} // namespace abrupt_end
