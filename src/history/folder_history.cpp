#include "history/folder_history.h"

#include <cstring>
#include <memory>

std::uint32_t maxFolders = 10;

const char kEmptyText[] = "";

namespace {

constexpr std::size_t kNotFound = static_cast<std::size_t>(-1);

std::size_t IndexOfFolder(const FolderHistory& history, const FolderName& folder) noexcept {
    for (std::size_t i = 0; i < history.Count(); ++i) {
        if (SameFolder(history[i].folder, folder)) {
            return i;
        }
    }
    return kNotFound;
}

std::size_t IndexOfCommand(const FolderHistory& history, std::int32_t commandId) noexcept {
    for (std::size_t i = 0; i < history.Count(); ++i) {
        if (history[i].commandId == commandId) {
            return i;
        }
    }
    return kNotFound;
}

// Drops the least recently used entries beyond the cap.
void Trim(FolderHistory& history) noexcept {
    while (history.Count() > maxFolders) {
        history.Erase(history.Count() - 1);
    }
}

} // namespace

bool SameFolder(const FolderName& a, const FolderName& b) noexcept {
    if (a.SharesBodyWith(b) || (!a.HasText() && !b.HasText())) {
        return true;
    }
    if (!a.HasText() || !b.HasText() || a.Length() != b.Length()) {
        return false;
    }
    return std::memcmp(a.Wide(), b.Wide(), a.Length() * sizeof(wchar_t)) == 0;
}

Status RecordFolder(FolderHistory& history, const char* folderText, std::int32_t commandId,
                    std::int32_t moveToFront) {
    FolderName folder(folderText);
    std::size_t found = IndexOfFolder(history, folder);
    if (found != kNotFound && moveToFront != 1) {
        history[found].commandId = commandId;
    } else {
        // The replacement exists before the old entry goes, so a failure
        // leaves the list as it was.
        std::unique_ptr<HistoryEntry> entry(new HistoryEntry{folder, commandId});
        if (found != kNotFound) {
            history.Erase(found);
        }
        history.Insert(0, std::move(entry));
    }
    Trim(history);
    return kStatusOk;
}

const HistoryEntry* FindByCommand(const FolderHistory& history, std::int32_t commandId) noexcept {
    std::size_t found = IndexOfCommand(history, commandId);
    return found == kNotFound ? nullptr : &history[found];
}

Status FolderForCommand(const FolderHistory& history, std::int32_t commandId, const char** text) {
    const HistoryEntry* entry = FindByCommand(history, commandId);
    *text = entry == nullptr ? kEmptyText : entry->folder.Ansi();
    return kStatusOk;
}

Status RemoveByCommand(FolderHistory& history, std::int32_t commandId) {
    std::size_t found = IndexOfCommand(history, commandId);
    if (found != kNotFound) {
        history.Erase(found);
    }
    return kStatusOk;
}

Status RemoveAt(FolderHistory& history, std::int16_t position) {
    if (position >= 0 && static_cast<std::size_t>(position) < history.Count()) {
        history.Erase(static_cast<std::size_t>(position));
    }
    return kStatusOk;
}

Status EntryTextAt(const FolderHistory& history, std::int16_t position, const char** text) {
    bool inRange = position >= 0 && static_cast<std::size_t>(position) < history.Count();
    *text = inRange ? history[static_cast<std::size_t>(position)].folder.Ansi() : kEmptyText;
    return kStatusOk;
}
