// The main of every test program: each runs in a registry of its own, so
// that ctest can run the programs side by side, and each ends by itself, with
// an exit code that says how (exit_codes.h), whatever happens in a case.
#include <gtest/gtest.h>

#include <cstdio>
#include <optional>
#include <string>

#include "crash_report.h"
#include "error_dialogs.h"
#include "exit_codes.h"
#include "registry_sandbox.h"
#include "running_case.h"
#include "watchdog.h"

namespace {

// The first line of the message that a skipped test gave.
std::string SkipReason(const testing::TestResult& result) {
    for (int i = 0; i < result.total_part_count(); ++i) {
        const testing::TestPartResult& part = result.GetTestPartResult(i);
        if (part.skipped()) {
            std::string message = part.message();
            return message.substr(0, message.find('\n'));
        }
    }
    return std::string();
}

// One line a failed test, "failed: Suite.Name", and one a skipped test,
// "skipped: Suite.Name: reason", for readers of the output that take it line
// by line (run-tests.cmd).
void ListOutcomes() {
    const testing::UnitTest& unit = *testing::UnitTest::GetInstance();
    for (int s = 0; s < unit.total_test_suite_count(); ++s) {
        const testing::TestSuite& suite = *unit.GetTestSuite(s);
        for (int t = 0; t < suite.total_test_count(); ++t) {
            const testing::TestInfo& test = *suite.GetTestInfo(t);
            if (test.should_run() && test.result()->Failed()) {
                std::printf("failed: %s.%s\n", suite.name(), test.name());
            } else if (test.should_run() && test.result()->Skipped()) {
                std::printf("skipped: %s.%s: %s\n", suite.name(), test.name(),
                            SkipReason(*test.result()).c_str());
            }
        }
    }
    std::fflush(stdout);
}

// Before any case: what would keep the run from ending by itself.
void MakeRunSafe() {
    error_dialogs::TurnOff();
    crash_report::Install();
    std::string why;
    std::optional<unsigned> limit = watchdog::LimitFromEnvironment(&why);
    if (!limit) {
        std::printf("cannot run: %s\n", why.c_str());
        std::fflush(stdout);
        std::exit(exit_codes::kCannotRun);
    }
    registry_sandbox::Enter();
    watchdog::Start(*limit);
}

} // namespace

int main(int argc, char** argv) {
    MakeRunSafe();
    testing::InitGoogleTest(&argc, argv);
    testing::UnitTest::GetInstance()->listeners().Append(new running_case::Tracker);
    int result = RUN_ALL_TESTS();
    registry_sandbox::Leave();
    ListOutcomes();
    // Passed with some tests skipped: ctest reports the program as skipped,
    // not passed (SKIP_RETURN_CODE in tests/CMakeLists.txt).
    if (result == 0 && testing::UnitTest::GetInstance()->skipped_test_count() > 0) {
        return exit_codes::kPassedWithSkips;
    }
    return result;
}
