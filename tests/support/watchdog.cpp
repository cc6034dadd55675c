#include "watchdog.h"

#include <windows.h>

#include <cstdio>

#include "abrupt_end.h"
#include "environment.h"
#include "exit_codes.h"
#include "running_case.h"
#include "win_handles.h"

namespace watchdog {

namespace {

const char kVariable[] = "QVVORN_TEST_TIMEOUT";
constexpr unsigned kDefaultSeconds = 240;
constexpr unsigned kMostSeconds = 7 * 24 * 60 * 60;

unsigned limitSeconds = 0;

DWORD WINAPI Watch(void* running) {
    SetEvent(running);
    Sleep(limitSeconds * 1000);
    char where[200];
    running_case::Where(where, sizeof where);
    char line[256];
    std::snprintf(line, sizeof line, "timed out after %u s %s", limitSeconds, where);
    abrupt_end::EndWithLine(line, exit_codes::kTimedOut);
}

} // namespace

std::optional<unsigned> LimitFromEnvironment(std::string* why) {
    std::optional<std::string> value = environment::Variable(kVariable);
    if (!value) {
        return kDefaultSeconds;
    }
    bool digits = !value->empty() && value->size() <= 7 &&
                  value->find_first_not_of("0123456789") == std::string::npos;
    unsigned long seconds = digits ? std::stoul(*value) : 0;
    if (seconds < 1 || seconds > kMostSeconds) {
        *why = std::string(kVariable) + " is \"" + *value +
               "\"; it must be a whole number of seconds from 1 to " + std::to_string(kMostSeconds);
        return std::nullopt;
    }
    return static_cast<unsigned>(seconds);
}

bool Start(unsigned seconds) {
    limitSeconds = seconds;
    win_handles::KernelHandle running(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    if (!running) {
        return false;
    }
    win_handles::KernelHandle thread(CreateThread(nullptr, 0, Watch, running.get(), 0, nullptr));
    return thread && WaitForSingleObject(running.get(), INFINITE) == WAIT_OBJECT_0;
}

} // namespace watchdog
