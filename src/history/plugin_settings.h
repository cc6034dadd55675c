// The process-wide state carried across runs: the folder history and its cap,
// loaded from the host's settings key when constructed and saved when destroyed.
#pragma once

#include <windows.h>

#include "common/folder_name.h"
#include "history/folder_history.h"

struct PluginSettings {
    HKEY rootKey = HKEY_CURRENT_USER;
    FolderName keyPath;
    FolderHistory history;
    // Whether the stored list was read whole; only then is it written back.
    bool historyLoaded = false;

    // Loads; never throws.
    PluginSettings() noexcept;
    // Saves and frees; never throws.
    ~PluginSettings();
    PluginSettings(const PluginSettings&) = delete;
    PluginSettings& operator=(const PluginSettings&) = delete;
};

// Reads VornMax and VornFolder, creating or repairing them where needed.
// A failure part way starts with an empty history; the save at unload then
// writes back only what was read (and a cap the user chose since).
void LoadSettings(PluginSettings& settings) noexcept;
// Writes VornFolder (unless the history is empty or was not read whole) and
// VornMax (once it was read or chosen), then frees the history and the key path.
void SaveSettings(PluginSettings& settings) noexcept;
