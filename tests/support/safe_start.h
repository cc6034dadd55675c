// What every program that may load the plug-in does before anything else,
// so that it always ends by itself and never reaches the user's settings:
// no error dialogs, a report of a crash, standard output unbuffered, the
// registry sandbox and the watchdog. When one of them cannot be had it prints
// "cannot run: <why>" and ends with exit_codes::kCannotRun. Such a program
// ends through abrupt_end, never by returning from main.
#pragma once

namespace safe_start {

void Begin();

} // namespace safe_start
