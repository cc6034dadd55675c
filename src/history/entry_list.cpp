#include "history/entry_list.h"

#include <cstring>
#include <new>
#include <utility>

namespace {

constexpr std::size_t kBytesPerEntry = sizeof(HistoryEntry) + sizeof(std::uint32_t);

static_assert(alignof(HistoryEntry) >= alignof(std::uint32_t), "slot numbers follow the entries");

} // namespace

std::size_t EntryList::NextCapacity(std::size_t capacity, std::size_t needed) {
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

void EntryList::GrowFor(std::size_t needed) {
    if (needed <= capacity_) {
        return;
    }
    std::size_t grown = NextCapacity(capacity_, needed);
    if (grown > SIZE_MAX / kBytesPerEntry) {
        throw std::bad_array_new_length();
    }
    void* block = ::operator new(grown* kBytesPerEntry);
    HistoryEntry* slots = static_cast<HistoryEntry*>(block);
    Slot* order = reinterpret_cast<Slot*>(slots + grown);
    for (std::size_t i = 0; i < count_; ++i) {
        new (slots + i) HistoryEntry(std::move(slots_[i]));
        slots_[i].~HistoryEntry();
    }
    if (count_ != 0) {
        std::memcpy(order, order_, count_ * sizeof(Slot));
    }
    ::operator delete(slots_);
    slots_ = slots;
    order_ = order;
    capacity_ = grown;
}

void EntryList::Insert(std::size_t index, HistoryEntry entry) {
    GrowFor(count_ + 1);
    new (slots_ + count_) HistoryEntry(std::move(entry));
    std::memmove(order_ + index + 1, order_ + index, (count_ - index) * sizeof(Slot));
    order_[index] = static_cast<Slot>(count_);
    ++count_;
}

void EntryList::Append(HistoryEntry entry) {
    Insert(count_, std::move(entry));
    mayHoldDuplicates_ = true;
}

void EntryList::Erase(std::size_t index) noexcept {
    Slot freed = order_[index];
    std::memmove(order_ + index, order_ + index + 1, (count_ - index - 1) * sizeof(Slot));
    --count_;
    slots_[freed].~HistoryEntry();
    // The last slot moves into the freed one, so the slots stay one run.
    if (freed != count_) {
        new (slots_ + freed) HistoryEntry(std::move(slots_[count_]));
        slots_[count_].~HistoryEntry();
        for (std::size_t i = 0; i < count_; ++i) {
            if (order_[i] == count_) {
                order_[i] = freed;
                break;
            }
        }
    }
}

void EntryList::MoveToFront(std::size_t index) noexcept {
    Slot moved = order_[index];
    std::memmove(order_ + 1, order_, index * sizeof(Slot));
    order_[0] = moved;
}

void EntryList::Clear() noexcept {
    for (std::size_t i = 0; i < count_; ++i) {
        slots_[i].~HistoryEntry();
    }
    ::operator delete(slots_);
    slots_ = nullptr;
    order_ = nullptr;
    count_ = 0;
    capacity_ = 0;
    mayHoldDuplicates_ = false;
}
