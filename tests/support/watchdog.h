// Ends a test program that runs too long, naming the case it was in, so that
// a hung case never holds a run (or a user's machine) forever.
#pragma once

#include <optional>
#include <string>

namespace watchdog {

// The limit in seconds: QVVORN_TEST_TIMEOUT, 300 (ctest's default) when it is
// unset. Nullopt, with `why` set, when its value is not a number of seconds.
std::optional<unsigned> LimitFromEnvironment(std::string* why);

// After `seconds` it prints "timed out after N s in Suite.Name" (or "...
// before any case") and ends the process with exit_codes::kTimedOut.
void Start(unsigned seconds);

} // namespace watchdog
