#include "history/entry_list.h"

#include <cstring>
#include <stdexcept>

std::size_t EntryList::NextCapacity(std::size_t capacity, std::size_t needed) {
    if (needed > kMaxEntries) {
        throw std::length_error("vector<T> too long");
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
    HistoryEntry** items =
        static_cast<HistoryEntry**>(::operator new(grown * sizeof(HistoryEntry*)));
    if (count_ != 0) {
        std::memcpy(items, items_, count_ * sizeof(HistoryEntry*));
    }
    ::operator delete(items_);
    items_ = items;
    capacity_ = grown;
}

void EntryList::Insert(std::size_t index, std::unique_ptr<HistoryEntry> entry) {
    GrowFor(count_ + 1);
    std::memmove(items_ + index + 1, items_ + index, (count_ - index) * sizeof(HistoryEntry*));
    items_[index] = entry.release();
    ++count_;
}

void EntryList::Erase(std::size_t index) noexcept {
    delete items_[index];
    std::memmove(items_ + index, items_ + index + 1, (count_ - index - 1) * sizeof(HistoryEntry*));
    --count_;
}

void EntryList::Clear() noexcept {
    for (std::size_t i = 0; i < count_; ++i) {
        delete items_[i];
    }
    ::operator delete(items_);
    items_ = nullptr;
    count_ = 0;
    capacity_ = 0;
}
