#pragma once
// Cases whose texts are Japanese in the ANSI code page need code page 932 (a
// Japanese system locale). Elsewhere they fail, so that a run on the wrong
// machine never passes by leaving them out, unless QVVORN_ALLOW_CP932_SKIP=1
// says that this machine is known to lack it (run-tests.cmd sets it): then
// they are skipped, with the reason.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

namespace code_page {

enum class Verdict { kRun, kFail, kSkip };

// What a case that needs code page 932 does on a system whose ANSI code page
// is `ansiCodePage`, with `allowSkip` the value of QVVORN_ALLOW_CP932_SKIP.
inline Verdict ForCodePage932(UINT ansiCodePage, const char* allowSkip) {
    if (ansiCodePage == 932) {
        return Verdict::kRun;
    }
    return allowSkip != nullptr && std::strcmp(allowSkip, "1") == 0 ? Verdict::kSkip
                                                                    : Verdict::kFail;
}

} // namespace code_page

#define QVVORN_NEEDS_CODE_PAGE_932()                                                               \
    do {                                                                                           \
        const UINT qvvornCodePage = GetACP();                                                      \
        switch (                                                                                   \
            code_page::ForCodePage932(qvvornCodePage, std::getenv("QVVORN_ALLOW_CP932_SKIP"))) {   \
        case code_page::Verdict::kRun:                                                             \
            break;                                                                                 \
        case code_page::Verdict::kSkip:                                                            \
            GTEST_SKIP() << "needs ANSI code page 932 (a Japanese system locale); this system's "  \
                            "is "                                                                  \
                         << qvvornCodePage;                                                        \
        case code_page::Verdict::kFail:                                                            \
            FAIL()                                                                                 \
                << "this case needs ANSI code page 932 (a Japanese system locale) and this "       \
                   "system's is "                                                                  \
                << qvvornCodePage                                                                  \
                << ": the machine, not the plug-in; QVVORN_ALLOW_CP932_SKIP=1 skips such cases";   \
        }                                                                                          \
    } while (false)
