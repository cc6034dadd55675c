#include "history/plugin_settings.h"

#include <memory>
#include <string>

#include "history/folder_list_text.h"
#include "history/settings_registry.h"

static_assert(sizeof(wchar_t) == sizeof(char16_t), "registry texts are UTF-16");

namespace {

constexpr std::uint32_t kDefaultMaxFolders = 10;
constexpr std::uint32_t kLowestMaxFolders = 5;
constexpr std::uint32_t kHighestMaxFolders = 30;

void AppendStoredFolders(FolderHistory& history, const StoredText& stored) {
    const char16_t* text = reinterpret_cast<const char16_t*>(stored.bytes.get());
    for (const TextPiece& piece : SplitFolderList(text, stored.size / sizeof(char16_t))) {
        const wchar_t* start = reinterpret_cast<const wchar_t*>(text + piece.offset);
        history.Append(std::unique_ptr<HistoryEntry>(
            new HistoryEntry{FolderName::FromWide(start, piece.length), 0}));
    }
}

void LoadFromRegistry(PluginSettings& settings) {
    settings.rootKey = HKEY_CURRENT_USER;
    settings.keyPath = FolderName(kSettingsKeyPath);
    settings.history.Clear();
    EnsureMaxValue(settings);
    maxFolders = ReadMaxValue(settings);
    if (maxFolders < kLowestMaxFolders || maxFolders > kHighestMaxFolders) {
        maxFolders = kDefaultMaxFolders;
    }
    EnsureHistoryValue(settings);
    StoredText stored = ReadHistoryValue(settings);
    if (stored.bytes != nullptr) {
        AppendStoredFolders(settings.history, stored);
    }
}

// Null when the history is empty: then the stored list stays as it is.
std::unique_ptr<std::u16string> JoinHistory(const FolderHistory& history) {
    if (history.Count() == 0) {
        return nullptr;
    }
    std::unique_ptr<std::u16string> joined(new std::u16string);
    for (std::size_t i = 0; i < history.Count(); ++i) {
        const FolderName& folder = history[i].folder;
        AppendToFolderList(*joined, i == 0, reinterpret_cast<const char16_t*>(folder.Wide()),
                           folder.Length());
    }
    return joined;
}

} // namespace

void LoadSettings(PluginSettings& settings) noexcept {
    try {
        LoadFromRegistry(settings);
    } catch (...) {
        // Runs inside the loader: nothing may escape. Start empty and forget
        // the key, so the unload writes nothing over what is stored.
        settings.history.Clear();
        settings.keyPath = FolderName();
        if (maxFolders < kLowestMaxFolders || maxFolders > kHighestMaxFolders) {
            maxFolders = kDefaultMaxFolders;
        }
    }
}

void SaveSettings(PluginSettings& settings) noexcept {
    try {
        std::unique_ptr<std::u16string> joined;
        try {
            joined = JoinHistory(settings.history);
        } catch (...) {
            joined.reset(); // leave the stored list as it is
        }
        WriteHistoryValue(settings,
                          joined ? reinterpret_cast<const wchar_t*>(joined->c_str()) : nullptr);
        WriteMaxValue(settings);
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
