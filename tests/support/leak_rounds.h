// What a process holds that a module it loads can take and not give back
// (thread-local storage slots, handles, heap bytes), measured over rounds of
// loads. Other threads of the process (Windows' own workers, the test
// program's watchdog) may take some while a round runs and give it back in a
// later one; what a module leaks, every round shows.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace leak_rounds {

constexpr int kRounds = 4;

// What one round left behind.
struct Round {
    double tlsSlots = 0; // taken
    double handles = 0;  // opened (see Handles in leak_rounds.cpp)
    double heapBytesPerCycle = 0;
};

// kRounds rounds of `cyclesPerRound` calls of `cycle`; stops once `cycle`
// returns false (the rounds up to then).
std::vector<Round> Measure(int cyclesPerRound, const std::function<bool()>& cycle);
// True when every round grew by more than `allowance` in `measure`: a leak.
bool EveryRoundGrew(const std::vector<Round>& rounds, double Round::*measure, double allowance);
// The middle of the rounds' `measure`: one round that another thread swelled
// or shrank does not move it.
double Median(std::vector<Round> rounds, double Round::*measure);
// Each round's `measure`, for a message.
std::string Each(const std::vector<Round>& rounds, double Round::*measure);

} // namespace leak_rounds
