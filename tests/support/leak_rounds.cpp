#include "leak_rounds.h"

#include <algorithm>

namespace leak_rounds {

namespace {

int FreeTlsSlots() {
    std::vector<DWORD> slots;
    slots.reserve(4096);
    for (DWORD slot; (slot = TlsAlloc()) != TLS_OUT_OF_INDEXES;) {
        slots.push_back(slot);
    }
    for (DWORD slot : slots) {
        TlsFree(slot);
    }
    return static_cast<int>(slots.size());
}

// The handles open in the process. Where the system does not count them
// (Wine 8 says 0), the slot a new handle gets, which moves up once one leaks.
DWORD Handles() {
    DWORD count = 0;
    if (GetProcessHandleCount(GetCurrentProcess(), &count) && count > 0) {
        return count;
    }
    HANDLE event = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    CloseHandle(event);
    return static_cast<DWORD>(reinterpret_cast<UINT_PTR>(event) / 4); // handles step by 4
}

// A heap with the low-fragmentation front end (compatibility information 2)
// hands out small blocks from groups that it keeps once made, and HeapWalk
// sees a group as one busy block: its bytes in use say nothing of a leak.
// Windows turns that front end on by itself as needed (Wine 10 does for
// msvcrt's heap), so only the other heaps count; a module's own allocations
// need counting of their own (the contract test hooks msvcrt's).
SIZE_T HeapBytesInUse() {
    HANDLE heaps[256];
    DWORD count = GetProcessHeaps(256, heaps);
    SIZE_T total = 0;
    for (DWORD i = 0; i < count && i < 256; ++i) {
        ULONG mode = 0;
        if (HeapQueryInformation(heaps[i], HeapCompatibilityInformation, &mode, sizeof mode,
                                 nullptr) &&
            mode == 2) {
            continue;
        }
        PROCESS_HEAP_ENTRY entry = {};
        HeapLock(heaps[i]);
        while (HeapWalk(heaps[i], &entry)) {
            if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) {
                total += entry.cbData;
            }
        }
        HeapUnlock(heaps[i]);
    }
    return total;
}

struct Tally {
    int freeTlsSlots;
    DWORD handles;
    SIZE_T heapBytes;
};

} // namespace

std::vector<Round> Measure(int cyclesPerRound, const std::function<bool()>& cycle) {
    std::vector<Round> rounds;
    rounds.reserve(kRounds); // nothing of ours grows the heap within a round
    bool going = true;
    for (int r = 0; r < kRounds && going; ++r) {
        Tally before = {FreeTlsSlots(), Handles(), HeapBytesInUse()};
        for (int i = 0; i < cyclesPerRound && going; ++i) {
            going = cycle();
        }
        Tally after = {FreeTlsSlots(), Handles(), HeapBytesInUse()};
        rounds.push_back({static_cast<double>(before.freeTlsSlots - after.freeTlsSlots),
                          static_cast<double>(after.handles) - before.handles,
                          (static_cast<double>(after.heapBytes) - before.heapBytes) /
                              std::max(cyclesPerRound, 1)});
    }
    return rounds;
}

bool EveryRoundGrew(const std::vector<Round>& rounds, double Round::*measure, double allowance) {
    return !rounds.empty() && std::all_of(rounds.begin(), rounds.end(), [&](const Round& round) {
        return round.*measure > allowance;
    });
}

double Median(std::vector<Round> rounds, double Round::*measure) {
    if (rounds.empty()) {
        return 0.0;
    }
    std::sort(rounds.begin(), rounds.end(),
              [&](const Round& a, const Round& b) { return a.*measure < b.*measure; });
    size_t half = rounds.size() / 2;
    return rounds.size() % 2 == 1 ? rounds[half].*measure
                                  : (rounds[half - 1].*measure + rounds[half].*measure) / 2;
}

std::string Each(const std::vector<Round>& rounds, double Round::*measure) {
    std::string text;
    for (const Round& round : rounds) {
        text += (text.empty() ? "" : ", ") + std::to_string(round.*measure);
    }
    return text;
}

} // namespace leak_rounds
