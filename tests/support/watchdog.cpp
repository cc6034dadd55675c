#include "watchdog.h"

#include <windows.h>

#include <cstdlib>

#include "abrupt_end.h"
#include "exit_codes.h"
#include "running_case.h"

namespace watchdog {

namespace {

const char kVariable[] = "QVVORN_TEST_TIMEOUT";
constexpr unsigned kDefaultSeconds = 300;
constexpr unsigned kMostSeconds = 7 * 24 * 60 * 60;

unsigned limitSeconds = 0;

DWORD WINAPI Watch(void*) {
    Sleep(limitSeconds * 1000);
    abrupt_end::EndNow("timed out after " + std::to_string(limitSeconds) + " s " +
                           running_case::Where(),
                       exit_codes::kTimedOut);
}

} // namespace

std::optional<unsigned> LimitFromEnvironment(std::string* why) {
    const char* text = std::getenv(kVariable);
    if (text == nullptr) {
        return kDefaultSeconds;
    }
    std::string value(text);
    bool digits = !value.empty() && value.size() <= 7 &&
                  value.find_first_not_of("0123456789") == std::string::npos;
    unsigned long seconds = digits ? std::strtoul(text, nullptr, 10) : 0;
    if (seconds < 1 || seconds > kMostSeconds) {
        *why = std::string(kVariable) + " is \"" + value +
               "\"; it must be a whole number of seconds from 1 to " + std::to_string(kMostSeconds);
        return std::nullopt;
    }
    return static_cast<unsigned>(seconds);
}

void Start(unsigned seconds) {
    limitSeconds = seconds;
    HANDLE thread = CreateThread(nullptr, 0, Watch, nullptr, 0, nullptr);
    if (thread != nullptr) {
        CloseHandle(thread); // it runs until the process ends
    }
}

} // namespace watchdog
