// Ends a test program that runs too long, naming the case it was in, so that
// a hung case never holds a run (or a user's machine) forever.
#pragma once

#include <optional>
#include <string>

namespace watchdog {

// The limit in seconds: QVVORN_TEST_TIMEOUT, or 240 when it is unset, below
// the 300 s that scripts/test.sh gives ctest, so that the program's own line
// reaches the log. Nullopt, with `why` set, when its value is not a number of
// seconds.
std::optional<unsigned> LimitFromEnvironment(std::string* why);

// After `seconds` it prints "timed out after N s in Suite.Name" (or "...
// before any case") and ends the process with exit_codes::kTimedOut. Returns
// once its thread runs: a thread that starts later would wait for the loader
// lock, which a module hung in DllMain never gives back. False when it could
// not be started.
bool Start(unsigned seconds);

} // namespace watchdog
