// Where a call from the host returns to it, directly or through Windows (a
// dialog procedure). Those frames are no C++ code of ours: an exception that
// unwound into them would end the host's process.
#pragma once

// Runs `work`; whatever it raises ends here, and the host gets the neutral
// result instead: the result's type value-initialised (0, FALSE, or nothing).
template <typename Work> auto AtHostBoundary(Work work) noexcept -> decltype(work()) {
    try {
        return work();
    } catch (...) {
        return decltype(work())();
    }
}
