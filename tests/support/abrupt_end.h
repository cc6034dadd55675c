// How every program that may load the plug-in ends: the sandbox key is
// deleted while HKEY_CURRENT_USER is still redirected to it, so whatever a
// module writes afterwards fails, and the process is terminated, so that no
// module's detach code runs at all. From any thread, without the loader
// lock: it starts no thread and loads nothing.
#pragma once

namespace abrupt_end {

[[noreturn]] void End(unsigned exitCode);

// Ends with `line` written to standard output first (the watchdog's
// time-out, a crash).
[[noreturn]] void EndWithLine(const char* line, unsigned exitCode);

} // namespace abrupt_end
