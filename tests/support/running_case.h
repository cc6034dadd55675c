// Which test case is running, for a report made from another thread or from
// a crash, where nothing may allocate or take a lock: "Suite.Name".
#pragma once

#include <cstddef>

namespace running_case {

// Called as a case starts (test_main's listener) and ends (null).
void Set(const char* suite, const char* name);

// "in Suite.Name", or "before any case" when none is running, into `out`.
void Where(char* out, std::size_t size);

} // namespace running_case
