// Keeps Windows from showing a dialog that would wait for a click: a test
// program must end by itself, also on a user's machine.
#pragma once

namespace error_dialogs {

// For this process and the programs it starts (they inherit the error mode).
void TurnOff();

} // namespace error_dialogs
