#pragma once
// Cases whose texts are Japanese in the ANSI code page run where it is 932 (a
// Japanese system locale) and are skipped elsewhere, with the reason; where
// QVVORN_REQUIRE_CP932 is set (scripts/wine-env.sh) they fail instead.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>

#define QVVORN_NEEDS_CODE_PAGE_932()                                                               \
    do {                                                                                           \
        if (GetACP() == 932)                                                                       \
            break;                                                                                 \
        if (std::getenv("QVVORN_REQUIRE_CP932"))                                                   \
            FAIL() << "the ANSI code page is not 932";                                             \
        GTEST_SKIP() << "needs ANSI code page 932 (a Japanese system locale); this system's is "   \
                     << GetACP();                                                                  \
    } while (false)
