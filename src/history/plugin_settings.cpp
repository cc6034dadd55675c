#include "history/plugin_settings.h"

#include <memory>
#include <utility>

#include "history/folder_list_text.h"
#include "history/settings_registry.h"

static_assert(sizeof(wchar_t) == sizeof(char16_t), "registry texts are UTF-16");

namespace {

// Where the settings are: each registry step opens the key there itself.
KeyLocation SettingsKey(const PluginSettings& settings) {
    return KeyLocation{settings.rootKey, settings.keyPath.Ansi()};
}

void AppendStoredFolders(FolderHistory& history, const StoredText& stored) {
    const char16_t* text = reinterpret_cast<const char16_t*>(stored.bytes.get());
    ForEachStoredFolder(
        text, stored.size / sizeof(char16_t), [&](std::size_t offset, std::size_t length) {
            history.Append(
                FolderName::FromWide(reinterpret_cast<const wchar_t*>(text + offset), length), 0);
        });
}

void LoadMaxFolders(const KeyLocation& key) {
    EnsureMaxValue(key);
    std::uint32_t stored = ReadMaxValue(key);
    maxFolders = IsFolderCapInRange(stored) ? stored : kDefaultMaxFolders;
    maxFoldersKnown = true;
}

void LoadHistory(PluginSettings& settings, const KeyLocation& key) {
    EnsureHistoryValue(key);
    StoredText stored = ReadHistoryValue(key);
    if (stored.bytes != nullptr) {
        AppendStoredFolders(settings.history, stored);
    }
    settings.historyLoaded = true;
}

struct JoinedList {
    std::unique_ptr<wchar_t[]> text; // NUL-terminated
    std::size_t units = 0;
};

// The joined list; no text when the history is empty (the stored list then
// stays as it is). Sized once, so a long list is copied once.
JoinedList JoinHistory(const FolderHistory& history) {
    std::size_t folderUnits = 0;
    for (std::size_t i = 0; i < history.Count(); ++i) {
        folderUnits += history.At(i).folder.Length();
    }
    JoinedList joined;
    if (history.Count() == 0 ||
        !JoinedListUnits(history.Count(), folderUnits, kLongestStoredUnits, &joined.units)) {
        return joined;
    }
    joined.text.reset(new wchar_t[joined.units + 1]);
    char16_t* out = reinterpret_cast<char16_t*>(joined.text.get());
    for (std::size_t i = 0; i < history.Count(); ++i) {
        const FolderName& folder = history.At(i).folder;
        out = AppendToFolderList(out, i == 0, reinterpret_cast<const char16_t*>(folder.Wide()),
                                 folder.Length());
    }
    *out = u'\0';
    return joined;
}

} // namespace

void LoadSettings(PluginSettings& settings) noexcept {
    settings.rootKey = HKEY_CURRENT_USER;
    settings.history.Clear();
    settings.historyLoaded = false;
    maxFoldersKnown = false;
    try {
        settings.keyPath = FolderName(kSettingsKeyPath);
        const KeyLocation key = SettingsKey(settings);
        LoadMaxFolders(key);
        LoadHistory(settings, key);
    } catch (...) {
        // Runs inside the loader: nothing may escape. Start with an empty
        // history; what was not read is not written back at unload.
        settings.history.Clear();
    }
}

void SaveSettings(PluginSettings& settings) noexcept {
    try {
        // A load that failed before it made the key path: a cap chosen since
        // is still saved.
        if (!settings.keyPath.HasText()) {
            settings.keyPath = FolderName(kSettingsKeyPath);
        }
        JoinedList joined;
        try {
            if (settings.historyLoaded) {
                joined = JoinHistory(settings.history);
            }
        } catch (...) {
            joined = JoinedList(); // leave the stored list as it is
        }
        const KeyLocation key = SettingsKey(settings);
        WriteHistoryValue(key, joined.text.get(), joined.units);
        if (maxFoldersKnown) {
            WriteMaxValue(key, maxFolders);
        }
    } catch (...) {
        // Runs inside the loader: nothing may escape.
    }
    settings.history.Clear();
    settings.keyPath = FolderName();
}

PluginSettings::PluginSettings() noexcept {
    LoadSettings(*this);
}

PluginSettings::~PluginSettings() {
    SaveSettings(*this);
}
