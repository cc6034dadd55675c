// Gives a test process a registry of its own: HKEY_CURRENT_USER is redirected
// to a fresh key, so test programs that run at the same time never share the
// host's settings key. Processes started from it use the same key.
#pragma once

namespace registry_sandbox {

// Redirects HKEY_CURRENT_USER for this process: to the key named in
// QVVORN_TEST_HKCU when a parent made one, else to a new one, which it then
// names there for its children.
void Enter();
// Undoes the redirection and deletes the key if this process made it.
void Leave();

} // namespace registry_sandbox
