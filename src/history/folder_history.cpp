#include "history/folder_history.h"

#include <cstring>

const char kEmptyText[] = "";

namespace {

// Beyond this many entries the search for equal folders is not worth it.
constexpr std::size_t kLongestCheckedList = 2 * kMostFolders;

std::size_t IndexOfFolder(const FolderHistory& history, const FolderName& folder) noexcept {
    for (std::size_t i = 0; i < history.Count(); ++i) {
        if (SameFolder(history[i].folder, folder)) {
            return i;
        }
    }
    return kNoEntry;
}

// The first entry equal to `folder`. While no two entries are equal, the
// entry that holds this very text is the one, if it is still there.
std::size_t FirstEqualFolder(const FolderHistory& history, const FolderName& folder) noexcept {
    if (!history.MayHoldDuplicates()) {
        for (std::size_t i = 0; i < history.Count(); ++i) {
            if (history[i].folder.SharesBodyWith(folder)) {
                return i;
            }
        }
    }
    return IndexOfFolder(history, folder);
}

// Drops the least recently used entries beyond the cap.
void Trim(FolderHistory& history) noexcept {
    while (history.Count() > maxFolders) {
        history.Erase(history.Count() - 1);
    }
}

bool InRange(const FolderHistory& history, std::int16_t position) noexcept {
    return position >= 0 && static_cast<std::size_t>(position) < history.Count();
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

Status RecordFolderName(FolderHistory& history, const FolderName& folder, std::int32_t commandId,
                        std::int32_t moveToFront) {
    std::size_t found = FirstEqualFolder(history, folder);
    if (found == kNoEntry) {
        history.Insert(0, HistoryEntry(folder, commandId));
    } else if (moveToFront == 1) {
        // The entry holds the same text, so it can go to the front itself.
        history.MoveToFront(found);
        history[0].commandId = commandId;
    } else {
        history[found].commandId = commandId;
    }
    Trim(history);
    return kStatusOk;
}

Status RecordFolder(FolderHistory& history, const char* folderText, std::int32_t commandId,
                    std::int32_t moveToFront) {
    return RecordFolderName(history, FolderName(folderText), commandId, moveToFront);
}

Status RecordFolderText(FolderHistory& history, const FolderName& folder, std::int32_t commandId,
                        std::int32_t moveToFront) {
    if (!folder.AnsiRoundTrips()) {
        // The text converts back to another folder: record that one, exactly
        // as the ANSI text says.
        return RecordFolder(history, folder.Ansi(), commandId, moveToFront);
    }
    return RecordFolderName(history, folder, commandId, moveToFront);
}

Status BindCommandAt(FolderHistory& history, std::size_t position, std::int32_t commandId) {
    const FolderName& folder = history[position].folder;
    if (history.MayHoldDuplicates() || !folder.AnsiRoundTrips()) {
        return RecordFolderText(history, folder, commandId, 0);
    }
    // No other entry holds this text: the entry itself takes the id.
    history[position].commandId = commandId;
    Trim(history);
    return kStatusOk;
}

void ConfirmDistinctFolders(FolderHistory& history) {
    if (!history.MayHoldDuplicates() || history.Count() > kLongestCheckedList) {
        return;
    }
    for (std::size_t i = 0; i < history.Count(); ++i) {
        for (std::size_t j = i + 1; j < history.Count(); ++j) {
            if (SameFolder(history[i].folder, history[j].folder)) {
                return;
            }
        }
    }
    history.ConfirmNoDuplicates();
}

std::size_t IndexOfCommand(const FolderHistory& history, std::int32_t commandId) noexcept {
    for (std::size_t i = 0; i < history.Count(); ++i) {
        if (history[i].commandId == commandId) {
            return i;
        }
    }
    return kNoEntry;
}

Status FolderForCommand(const FolderHistory& history, std::int32_t commandId, const char** text) {
    std::size_t found = IndexOfCommand(history, commandId);
    *text = found == kNoEntry ? kEmptyText : history[found].folder.Ansi();
    return kStatusOk;
}

Status RemoveByCommand(FolderHistory& history, std::int32_t commandId) {
    std::size_t found = IndexOfCommand(history, commandId);
    if (found != kNoEntry) {
        history.Erase(found);
    }
    return kStatusOk;
}

Status RemoveAt(FolderHistory& history, std::int16_t position) {
    if (InRange(history, position)) {
        history.Erase(static_cast<std::size_t>(position));
    }
    return kStatusOk;
}

Status EntryTextAt(const FolderHistory& history, std::int16_t position, const char** text) {
    *text = InRange(history, position) ? history[static_cast<std::size_t>(position)].folder.Ansi()
                                       : kEmptyText;
    return kStatusOk;
}
