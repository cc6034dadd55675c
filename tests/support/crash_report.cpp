#include "crash_report.h"

#include <windows.h>

#include <cstdio>

#include "abrupt_end.h"
#include "running_case.h"

namespace crash_report {

namespace {

LONG WINAPI Report(EXCEPTION_POINTERS* exception) {
    DWORD code = exception->ExceptionRecord->ExceptionCode;
    char where[200];
    running_case::Where(where, sizeof where);
    char line[256];
    std::snprintf(line, sizeof line, "crashed: exception 0x%08lX %s",
                  static_cast<unsigned long>(code), where);
    abrupt_end::EndWithLine(line, code);
}

} // namespace

void Install() {
    SetUnhandledExceptionFilter(Report);
}

} // namespace crash_report
