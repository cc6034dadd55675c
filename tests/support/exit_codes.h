// What a test program's exit code says, for ctest and for run-tests.cmd.
#pragma once

namespace exit_codes {

// Every case ran and passed, some were skipped (ctest's SKIP_RETURN_CODE).
constexpr int kPassedWithSkips = 77;
// The program could not make its sandbox and ran no case; it printed a line
// "cannot run: <why>".
constexpr int kCannotRun = 90;
// The watchdog ended the program; it printed "timed out after N s in ...".
constexpr int kTimedOut = 124;

} // namespace exit_codes
