// The main of every test program: each runs in a registry of its own, so
// that ctest can run the programs side by side.
#include <gtest/gtest.h>

#include "registry_sandbox.h"

int main(int argc, char** argv) {
    registry_sandbox::Enter();
    testing::InitGoogleTest(&argc, argv);
    int result = RUN_ALL_TESTS();
    registry_sandbox::Leave();
    return result;
}
