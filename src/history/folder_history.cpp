#include "history/folder_history.h"

#include <cstdint>
#include <cstring>
#include <new>
#include <utility>

const char kEmptyText[] = "";

namespace {

constexpr std::size_t kNoEntry = static_cast<std::size_t>(-1);

// Beyond this many entries, looking for two equal folders costs more than
// the searches it would spare. Only a freshly loaded list is that long; the
// first recording trims it.
constexpr std::size_t kLongestCheckedList = 2 * kMostFolders;

static_assert(FolderHistory::kMaxEntries <= SIZE_MAX / sizeof(HistoryEntry*),
              "the largest list's storage has a size");

// Folders are equal when they share a body, both hold no text, or their
// UTF-16 texts match unit for unit.
bool SameFolder(const FolderName& a, const FolderName& b) noexcept {
    if (a.SharesBodyWith(b) || (!a.HasText() && !b.HasText())) {
        return true;
    }
    if (!a.HasText() || !b.HasText() || a.Length() != b.Length()) {
        return false;
    }
    return std::memcmp(a.Wide(), b.Wide(), a.Length() * sizeof(wchar_t)) == 0;
}

} // namespace

std::size_t FolderHistory::NextCapacity(std::size_t capacity, std::size_t needed) {
    // An array of that many entries is more than a 32-bit process can
    // address, so the list reports what allocating it would report. (The
    // standard length error's constructor would link the runtime's whole
    // string library into the module, tripling its size.)
    if (needed > kMaxEntries) {
        throw std::bad_array_new_length();
    }
    std::size_t grown =
        capacity > kMaxEntries - capacity / 2 ? kMaxEntries : capacity + capacity / 2;
    return grown < needed ? needed : grown;
}

// A failure leaves the list as it was.
void FolderHistory::GrowFor(std::size_t needed) {
    if (needed <= capacity_) {
        return;
    }
    std::size_t grown = NextCapacity(capacity_, needed);
    HistoryEntry** entries = new HistoryEntry*[grown];
    if (count_ != 0) {
        std::memcpy(entries, entries_, count_ * sizeof(HistoryEntry*));
    }
    delete[] entries_;
    entries_ = entries;
    capacity_ = grown;
}

void FolderHistory::Append(FolderName folder, std::int32_t commandId) {
    GrowFor(count_ + 1);
    entries_[count_] = new HistoryEntry{std::move(folder), commandId};
    ++count_;
    ++generation_;
    if (folders_ == Folders::Distinct) {
        folders_ = Folders::Unknown;
    }
}

// Only for a folder that no entry holds, so what is known of equal folders
// stays true.
void FolderHistory::InsertAtFront(const FolderName& folder, std::int32_t commandId) {
    GrowFor(count_ + 1);
    HistoryEntry* entry = new HistoryEntry{folder, commandId};
    std::memmove(entries_ + 1, entries_, count_ * sizeof(HistoryEntry*));
    entries_[0] = entry;
    ++count_;
    ++generation_;
}

void FolderHistory::MoveToFront(std::size_t position) noexcept {
    if (position == 0) {
        return;
    }
    HistoryEntry* moved = entries_[position];
    std::memmove(entries_ + 1, entries_, position * sizeof(HistoryEntry*));
    entries_[0] = moved;
    ++generation_;
}

void FolderHistory::Erase(std::size_t position) noexcept {
    delete entries_[position];
    std::memmove(entries_ + position, entries_ + position + 1,
                 (count_ - position - 1) * sizeof(HistoryEntry*));
    --count_;
    ++generation_;
    // The entry that went may have been one of two equal ones.
    if (folders_ == Folders::Repeated) {
        folders_ = Folders::Unknown;
    }
}

void FolderHistory::Clear() noexcept {
    for (std::size_t i = 0; i < count_; ++i) {
        delete entries_[i];
    }
    delete[] entries_;
    entries_ = nullptr;
    count_ = 0;
    capacity_ = 0;
    ++generation_;
    folders_ = Folders::Distinct;
}

// Drops the least recently used entries beyond the cap.
void FolderHistory::Trim() noexcept {
    while (count_ > maxFolders) {
        Erase(count_ - 1);
    }
}

bool FolderHistory::InRange(std::int16_t position) const noexcept {
    return position >= 0 && static_cast<std::size_t>(position) < count_;
}

// Whether no two entries hold equal folders, worked out when not yet known
// and the list is short enough.
bool FolderHistory::FoldersDistinct() {
    if (folders_ == Folders::Unknown && count_ <= kLongestCheckedList) {
        folders_ = Folders::Distinct;
        for (std::size_t i = 0; i < count_ && folders_ == Folders::Distinct; ++i) {
            for (std::size_t j = i + 1; j < count_; ++j) {
                if (SameFolder(entries_[i]->folder, entries_[j]->folder)) {
                    folders_ = Folders::Repeated;
                    break;
                }
            }
        }
    }
    return folders_ == Folders::Distinct;
}

// The first entry equal to `folder`. While no two entries are equal, the
// entry that holds this very text is the one, if it is still there: a
// comparison of addresses finds it.
std::size_t FolderHistory::FirstEqual(const FolderName& folder) {
    if (FoldersDistinct()) {
        for (std::size_t i = 0; i < count_; ++i) {
            if (entries_[i]->folder.SharesBodyWith(folder)) {
                return i;
            }
        }
    }
    for (std::size_t i = 0; i < count_; ++i) {
        if (SameFolder(entries_[i]->folder, folder)) {
            return i;
        }
    }
    return kNoEntry;
}

std::size_t FolderHistory::FirstBoundTo(std::int32_t commandId) const noexcept {
    for (std::size_t i = 0; i < count_; ++i) {
        if (entries_[i]->commandId == commandId) {
            return i;
        }
    }
    return kNoEntry;
}

Status FolderHistory::RecordFolder(const FolderName& folder, std::int32_t commandId,
                                   std::int32_t moveToFront) {
    std::size_t found = FirstEqual(folder);
    if (found == kNoEntry) {
        InsertAtFront(folder, commandId);
    } else {
        // The entry holds the same text, so it can go to the front itself.
        if (moveToFront == 1) {
            MoveToFront(found);
            found = 0;
        }
        entries_[found]->commandId = commandId;
    }
    Trim();
    return kStatusOk;
}

Status FolderHistory::RecordFolder(const char* folderText, std::int32_t commandId,
                                   std::int32_t moveToFront) {
    return RecordFolder(FolderName(folderText), commandId, moveToFront);
}

Status FolderHistory::BindCommandAt(std::int16_t position, std::int32_t commandId) {
    if (!InRange(position)) {
        return kStatusOk;
    }
    HistoryEntry& entry = *entries_[position];
    FolderName folder = entry.folder.ThroughAnsi();
    if (!FoldersDistinct() || !folder.SharesBodyWith(entry.folder)) {
        return RecordFolder(folder, commandId, 0);
    }
    // No other entry holds this folder: the entry itself takes the id.
    entry.commandId = commandId;
    Trim();
    return kStatusOk;
}

FolderName FolderHistory::FolderBoundTo(std::int32_t commandId) const noexcept {
    std::size_t found = FirstBoundTo(commandId);
    return found == kNoEntry ? FolderName() : entries_[found]->folder;
}

Status FolderHistory::FolderForCommand(std::int32_t commandId, const char** text) const {
    std::size_t found = FirstBoundTo(commandId);
    *text = found == kNoEntry ? kEmptyText : entries_[found]->folder.Ansi();
    return kStatusOk;
}

Status FolderHistory::RemoveByCommand(std::int32_t commandId) {
    std::size_t found = FirstBoundTo(commandId);
    if (found != kNoEntry) {
        Erase(found);
    }
    return kStatusOk;
}

Status FolderHistory::RemoveAt(std::int16_t position) {
    if (InRange(position)) {
        Erase(static_cast<std::size_t>(position));
    }
    return kStatusOk;
}

Status FolderHistory::EntryTextAt(std::int16_t position, const char** text) const {
    *text = InRange(position) ? entries_[position]->folder.Ansi() : kEmptyText;
    return kStatusOk;
}
