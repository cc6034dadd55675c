// The folder history: recently used destination folders, most recent first,
// each with the host command id bound to its submenu item. The list keeps its
// own rules: recording never makes a second entry for a folder it holds, and
// every recording trims the list to `maxFolders` entries.
#pragma once

#include <cstddef>
#include <cstdint>

#include "common/folder_name.h"
#include "common/status.h"
#include "history/folder_cap.h"
#include "history/history_entry.h"

// Handed out where a text is asked for and there is none; never null.
extern const char kEmptyText[];

class FolderHistory {
  public:
    // Growing past this many entries raises std::bad_array_new_length.
    static constexpr std::size_t kMaxEntries = 0x3FFFFFFF;

    FolderHistory() noexcept = default;
    FolderHistory(const FolderHistory&) = delete;
    FolderHistory& operator=(const FolderHistory&) = delete;
    ~FolderHistory() { Clear(); }

    // Every operation returns status 0. A position out of range or a command
    // id that no entry holds changes nothing and hands out kEmptyText. Texts
    // handed out are the entry's own and live as long as it does. Where two
    // entries hold equal folders, the first one is acted on.

    // Looks for the folder: not there, it goes in at the front; there, it
    // moves to the front when `moveToFront` is 1 and is bound to `commandId`
    // in place otherwise. Then trims the list.
    Status RecordFolder(const char* folderText, std::int32_t commandId, std::int32_t moveToFront);
    // The same for a folder already converted from its ANSI text (as
    // FolderName::ThroughAnsi gives it). `folder` may be an entry's own.
    Status RecordFolder(const FolderName& folder, std::int32_t commandId, std::int32_t moveToFront);
    // RecordFolder(the text EntryTextAt hands out for `position`, `commandId`, 0).
    Status BindCommandAt(std::int16_t position, std::int32_t commandId);
    Status FolderForCommand(std::int32_t commandId, const char** text) const;
    Status RemoveByCommand(std::int32_t commandId);
    Status RemoveAt(std::int16_t position);
    Status EntryTextAt(std::int16_t position, const char** text) const;

    // The folder bound to `commandId`, held by the caller; none (no text)
    // when no entry holds the id.
    FolderName FolderBoundTo(std::int32_t commandId) const noexcept;

    std::size_t Count() const noexcept { return count_; }
    // `position` must be below Count().
    const HistoryEntry& At(std::size_t position) const noexcept { return *entries_[position]; }
    // Changes whenever an entry comes, goes or moves (binding an id is no
    // change), so that a caller that let the host run can tell whether the
    // entry it found at a position is still there.
    std::uint64_t Generation() const noexcept { return generation_; }

    // At the back, without looking for an equal folder and without trimming:
    // loading keeps every stored folder, as stored. A failure changes nothing.
    void Append(FolderName folder, std::int32_t commandId);
    // Releases every entry, then the storage.
    void Clear() noexcept;

    // The capacity after growing from `capacity` to hold `needed` entries:
    // half as much again, and at least `needed`.
    static std::size_t NextCapacity(std::size_t capacity, std::size_t needed);
    std::size_t Capacity() const noexcept { return capacity_; }

  private:
    // What is known of equal folders in the list.
    enum class Folders { Distinct, Unknown, Repeated };

    std::size_t FirstEqual(const FolderName& folder);
    bool FoldersDistinct();
    std::size_t FirstBoundTo(std::int32_t commandId) const noexcept;
    bool InRange(std::int16_t position) const noexcept;

    void GrowFor(std::size_t needed);
    void InsertAtFront(const FolderName& folder, std::int32_t commandId);
    void MoveToFront(std::size_t position) noexcept;
    void Erase(std::size_t position) noexcept;
    void Trim() noexcept;

    HistoryEntry** entries_ = nullptr; // front first
    std::size_t count_ = 0;
    std::size_t capacity_ = 0;
    std::uint64_t generation_ = 0;
    Folders folders_ = Folders::Distinct;
};
