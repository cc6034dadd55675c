#include "history/entry_list.h"

#include <new>
#include <utility>

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
    HistoryEntry* items = static_cast<HistoryEntry*>(::operator new(grown * sizeof(HistoryEntry)));
    for (std::size_t i = 0; i < count_; ++i) {
        new (items + i) HistoryEntry(std::move(items_[i]));
        items_[i].~HistoryEntry();
    }
    ::operator delete(items_);
    items_ = items;
    capacity_ = grown;
}

void EntryList::Insert(std::size_t index, HistoryEntry entry) {
    GrowFor(count_ + 1);
    if (index == count_) {
        new (items_ + count_) HistoryEntry(std::move(entry));
    } else {
        new (items_ + count_) HistoryEntry(std::move(items_[count_ - 1]));
        for (std::size_t i = count_ - 1; i > index; --i) {
            items_[i] = std::move(items_[i - 1]);
        }
        items_[index] = std::move(entry);
    }
    ++count_;
}

void EntryList::Append(HistoryEntry entry) {
    Insert(count_, std::move(entry));
    mayHoldDuplicates_ = true;
}

void EntryList::Erase(std::size_t index) noexcept {
    for (std::size_t i = index; i + 1 < count_; ++i) {
        items_[i] = std::move(items_[i + 1]);
    }
    --count_;
    items_[count_].~HistoryEntry();
}

void EntryList::MoveToFront(std::size_t index) noexcept {
    HistoryEntry moved(std::move(items_[index]));
    for (std::size_t i = index; i > 0; --i) {
        items_[i] = std::move(items_[i - 1]);
    }
    items_[0] = std::move(moved);
}

void EntryList::Clear() noexcept {
    for (std::size_t i = 0; i < count_; ++i) {
        items_[i].~HistoryEntry();
    }
    ::operator delete(items_);
    items_ = nullptr;
    count_ = 0;
    capacity_ = 0;
    mayHoldDuplicates_ = false;
}
