#include "error_dialogs.h"

#include <windows.h>

namespace error_dialogs {

// werapi.h's values; mingw-w64's header does not have them.
constexpr DWORD kWerQueue = 0x2; // WER_FAULT_REPORTING_FLAG_QUEUE: queued, no UI
constexpr DWORD kWerNoUi = 0x20; // WER_FAULT_REPORTING_NO_UI

void TurnOff() {
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
    // Windows Error Reporting's own UI, through kernel32 at run time: the
    // program still starts on a system without WerSetFlags (before Vista).
    auto setFlags = reinterpret_cast<HRESULT(WINAPI*)(DWORD)>(reinterpret_cast<void (*)()>(
        GetProcAddress(GetModuleHandleA("kernel32.dll"), "WerSetFlags")));
    // WerSetFlags's own documentation does not list WER_FAULT_REPORTING_NO_UI
    // (SetErrorMode's names it); should a system refuse that flag, queueing
    // alone, documented as showing no UI, keeps the report off the screen.
    if (setFlags != nullptr && FAILED(setFlags(kWerQueue | kWerNoUi))) {
        setFlags(kWerQueue);
    }
}

} // namespace error_dialogs
