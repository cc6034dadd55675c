#include "crash_report.h"

#include <windows.h>

#include <cstdio>
#include <string>

#include "abrupt_end.h"
#include "running_case.h"

namespace crash_report {

namespace {

LONG WINAPI Report(EXCEPTION_POINTERS* exception) {
    DWORD code = exception->ExceptionRecord->ExceptionCode;
    char hex[16];
    std::snprintf(hex, sizeof hex, "0x%08lX", static_cast<unsigned long>(code));
    abrupt_end::EndNow(std::string("crashed: exception ") + hex + " " + running_case::Where(),
                       code);
}

} // namespace

void Install() {
    SetUnhandledExceptionFilter(Report);
}

} // namespace crash_report
