// Reports an exception that nothing handled, with the case it happened in,
// and ends the program: a crash is a failure of that case, not a hang in a
// debugger or a dialog.
#pragma once

namespace crash_report {

// From then on such an exception prints "crashed: exception 0xXXXXXXXX in
// Suite.Name" and ends the process with the exception's code.
void Install();

} // namespace crash_report
