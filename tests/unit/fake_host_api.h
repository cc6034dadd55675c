// Points the module's host table at our host's state, for tests that link
// the product code: the calls the product makes land in fake_host::TheHost().
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "fake_host.h"
#include "history_text.h"
#include "shell/host_api.h"
#include "shell/plugin_instance.h"

namespace fake_host_api {

// Raised by the host functions when told to, to prove that nothing the host
// raises unwinds past a callback.
struct HostFailure {};

struct Faults {
    bool currentFolderRaises = false;
    bool moveRaises = false;
};
Faults& TheFaults();

// A fresh host, an empty history with the default cap, and the table bound;
// everything restored afterwards.
class HostedTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    static fake_host::Host& Host() { return fake_host::TheHost(); }
    // How many times the product called host function `name`.
    static int CallsTo(const char* name);
    // The history, as history_text writes it.
    static void Fill(const char* description) { history_text::Fill(ActiveHistory(), description); }
    static std::string History() { return history_text::Describe(ActiveHistory()); }

  private:
    HostApi savedTable_{};
    std::uint32_t savedMax_ = 0;
};

} // namespace fake_host_api
