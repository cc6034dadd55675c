// The main of every test program: each runs in a registry of its own, so
// that ctest can run the programs side by side, and each ends by itself, with
// an exit code that says how (exit_codes.h), whatever happens in a case.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "abrupt_end.h"
#include "exit_codes.h"
#include "running_case.h"
#include "safe_start.h"

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

// Names the running case for the watchdog's and the crash report's line.
class CaseTracker : public testing::EmptyTestEventListener {
    void OnTestStart(const testing::TestInfo& test) override {
        running_case::Set(test.test_suite_name(), test.name());
    }
    void OnTestEnd(const testing::TestInfo&) override { running_case::Set(nullptr, nullptr); }
};

} // namespace

int main(int argc, char** argv) {
    safe_start::Begin();
    testing::InitGoogleTest(&argc, argv);
    testing::UnitTest::GetInstance()->listeners().Append(new CaseTracker);
    int result = RUN_ALL_TESTS();
    ListOutcomes();
    // Passed with some tests skipped: ctest reports the program as skipped,
    // not passed (SKIP_RETURN_CODE in tests/CMakeLists.txt).
    if (result == 0 && testing::UnitTest::GetInstance()->skipped_test_count() > 0) {
        result = exit_codes::kPassedWithSkips;
    }
    // A case that failed may have left the plug-in loaded: it must not save
    // at exit, so the process ends without unloading anything.
    abrupt_end::End(result);
}
