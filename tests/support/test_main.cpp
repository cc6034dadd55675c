// The main of every test program: each runs in a registry of its own, so
// that ctest can run the programs side by side.
#include <gtest/gtest.h>

#include "registry_sandbox.h"

namespace {

constexpr int kSkippedTestsExitCode = 77;

} // namespace

int main(int argc, char** argv) {
    registry_sandbox::Enter();
    testing::InitGoogleTest(&argc, argv);
    int result = RUN_ALL_TESTS();
    registry_sandbox::Leave();
    // Passed with some tests skipped: ctest reports the program as skipped,
    // not passed (SKIP_RETURN_CODE in tests/CMakeLists.txt).
    if (result == 0 && testing::UnitTest::GetInstance()->skipped_test_count() > 0) {
        return kSkippedTestsExitCode;
    }
    return result;
}
