#pragma once
// Cases whose texts are Japanese in the ANSI code page: the plug-in's menu
// and dialog texts, folder names in code page 932. They run where the ANSI
// code page is 932 (a Japanese system locale) and are skipped elsewhere,
// with the reason. Where QVVORN_REQUIRE_CP932 is set (the suite's own Wine
// setup sets it) another code page fails them instead: the suite must never
// pass by skipping them.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>

#define QVVORN_NEEDS_CODE_PAGE_932()                                                               \
    do {                                                                                           \
        if (GetACP() != 932) {                                                                     \
            if (std::getenv("QVVORN_REQUIRE_CP932") != nullptr) {                                  \
                FAIL() << "the ANSI code page is " << GetACP()                                     \
                       << ", and QVVORN_REQUIRE_CP932 asks for 932";                               \
            }                                                                                      \
            GTEST_SKIP() << "needs ANSI code page 932 (a Japanese system locale); this "           \
                            "system's is "                                                         \
                         << GetACP();                                                              \
        }                                                                                          \
    } while (false)
