#pragma once
// Cases whose texts are Japanese in the ANSI code page need code page 932 (a
// Japanese system locale). Elsewhere they fail, so that a run on the wrong
// machine never passes by leaving them out, unless QVVORN_ALLOW_CP932_SKIP=1
// says that this machine is known to lack it (run-tests.cmd sets it): then
// they are skipped, with the reason.
#include <windows.h>

#include <gtest/gtest.h>

#include "environment.h"

#define QVVORN_NEEDS_CODE_PAGE_932()                                                               \
    do {                                                                                           \
        const UINT qvvornCodePage = GetACP();                                                      \
        if (qvvornCodePage == 932) {                                                               \
            break;                                                                                 \
        }                                                                                          \
        if (environment::Variable("QVVORN_ALLOW_CP932_SKIP") == "1") {                             \
            GTEST_SKIP() << "needs ANSI code page 932 (a Japanese system locale); this process's " \
                            "is "                                                                  \
                         << qvvornCodePage;                                                        \
        }                                                                                          \
        FAIL() << "this case needs ANSI code page 932 (a Japanese system locale) and this "        \
                  "process's is "                                                                  \
               << qvvornCodePage                                                                   \
               << ": the machine, not the plug-in; QVVORN_ALLOW_CP932_SKIP=1 skips such cases";    \
    } while (false)
