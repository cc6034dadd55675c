// Contiguous list of owned history entries. Grows by half its capacity
// (at least to one more than its count) and holds at most 1,073,741,823 entries.
#pragma once

#include <cstddef>
#include <memory>

#include "history/history_entry.h"

class EntryList {
  public:
    static constexpr std::size_t kMaxEntries = 0x3FFFFFFF;

    EntryList() noexcept = default;
    EntryList(const EntryList&) = delete;
    EntryList& operator=(const EntryList&) = delete;
    ~EntryList() { Clear(); }

    // The capacity after growing from `capacity` to hold `needed` entries.
    static std::size_t NextCapacity(std::size_t capacity, std::size_t needed);

    std::size_t Count() const noexcept { return count_; }
    std::size_t Capacity() const noexcept { return capacity_; }
    HistoryEntry& operator[](std::size_t index) const noexcept { return *items_[index]; }

    void Insert(std::size_t index, std::unique_ptr<HistoryEntry> entry);
    void Append(std::unique_ptr<HistoryEntry> entry) { Insert(count_, std::move(entry)); }
    // Releases the entry and closes the gap.
    void Erase(std::size_t index) noexcept;
    // Releases every entry, then the storage.
    void Clear() noexcept;

  private:
    void GrowFor(std::size_t needed);

    HistoryEntry** items_ = nullptr;
    std::size_t count_ = 0;
    std::size_t capacity_ = 0;
};
