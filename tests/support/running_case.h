// Which test case is running, for a report made from another thread or from
// a crash: "Suite.Name".
#pragma once

#include <gtest/gtest.h>

#include <string>

namespace running_case {

// Follows the cases as they start and end; appended to gtest's listeners.
class Tracker : public testing::EmptyTestEventListener {
  public:
    void OnTestStart(const testing::TestInfo& test) override;
    void OnTestEnd(const testing::TestInfo& test) override;
};

// "in Suite.Name", or "before any case" when none is running.
std::string Where();

} // namespace running_case
