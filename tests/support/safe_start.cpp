#include "safe_start.h"

#include <cstdio>
#include <optional>
#include <string>

#include "abrupt_end.h"
#include "crash_report.h"
#include "error_dialogs.h"
#include "exit_codes.h"
#include "registry_sandbox.h"
#include "watchdog.h"

namespace safe_start {

namespace {

[[noreturn]] void Refuse(const std::string& why) {
    std::printf("cannot run: %s\n", why.c_str());
    abrupt_end::End(exit_codes::kCannotRun);
}

} // namespace

void Begin() {
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    error_dialogs::TurnOff();
    crash_report::Install();
    std::string why;
    std::optional<unsigned> limit = watchdog::LimitFromEnvironment(&why);
    if (!limit) {
        Refuse(why);
    }
    std::string fault = registry_sandbox::Enter();
    if (!fault.empty()) {
        Refuse("HKEY_CURRENT_USER could not be redirected to a test key: " + fault);
    }
    if (!watchdog::Start(*limit)) {
        Refuse("the watchdog's thread could not be started");
    }
}

} // namespace safe_start
