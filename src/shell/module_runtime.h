// The statically linked C++ runtime, fitted to a module that the host loads
// and unloads many times in one process.
#pragma once

// Frees what the runtime set aside for this copy of the module. Runs last at
// unload, after the settings are saved: no exception may be raised after it.
void ReleaseModuleRuntime() noexcept;
