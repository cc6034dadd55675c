// List of history entries. The entries themselves stay where they were put,
// one after another in one block; their order is a separate array of slot
// numbers, so that moving an entry to the front shifts four-byte numbers
// only. Grows by half its capacity (at least to one more than its count) and
// holds at most 1,073,741,823 entries; growing past that raises
// std::bad_array_new_length.
#pragma once

#include <cstddef>
#include <cstdint>

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
    HistoryEntry& operator[](std::size_t index) const noexcept { return slots_[order_[index]]; }

    // A failure to grow leaves the list as it was.
    void Insert(std::size_t index, HistoryEntry entry);
    // Appends without looking for an equal folder (loading does that), so the
    // list may hold two equal folders from then on.
    void Append(HistoryEntry entry);
    // Releases the entry and closes the gap.
    void Erase(std::size_t index) noexcept;
    // Takes the entry out and puts it back at the front.
    void MoveToFront(std::size_t index) noexcept;
    // Releases every entry, then the storage.
    void Clear() noexcept;

    // False once it is known that no two entries hold equal folders.
    bool MayHoldDuplicates() const noexcept { return mayHoldDuplicates_; }
    void ConfirmNoDuplicates() noexcept { mayHoldDuplicates_ = false; }

  private:
    using Slot = std::uint32_t;

    void GrowFor(std::size_t needed);

    // One block: `capacity_` slots for entries, then as many slot numbers.
    // Slots 0 to count_ - 1 hold the entries; order_ lists them front first.
    HistoryEntry* slots_ = nullptr;
    Slot* order_ = nullptr;
    std::size_t count_ = 0;
    std::size_t capacity_ = 0;
    bool mayHoldDuplicates_ = false;
};
