// Gives a test process a registry of its own: HKEY_CURRENT_USER is redirected
// to a fresh key under HKCU\Software\QvVornTests, so test programs that run at
// the same time never share the host's settings key, and none touches the
// user's real one. Processes started from it use the same key.
#pragma once

#include <windows.h>

#include <string>

namespace registry_sandbox {

// Redirects HKEY_CURRENT_USER for this process: to the key named in
// QVVORN_TEST_HKCU when a parent made one, else to a new one, which it then
// names there for its children. Empty when done; else why the redirection
// could not be made or did not prove itself, and then nothing may run: the
// process ends (abrupt_end) with the redirection, whatever it is, in place,
// since giving HKEY_CURRENT_USER back is what would reach the real key.
std::string Enter();
// Deletes the key this process made, now and from any thread, leaving the
// redirection in place: from then on nothing written through
// HKEY_CURRENT_USER lands anywhere. Only for a process about to end
// (abrupt_end).
void DiscardNow();

// Why a value written through HKEY_CURRENT_USER does not read back there and
// show up in `path` under `realUser` (and not at its root); empty when it
// does. `realUser` is a handle to the real HKEY_CURRENT_USER opened before
// the redirection.
std::string RedirectionFault(HKEY realUser, const std::string& path);

} // namespace registry_sandbox
