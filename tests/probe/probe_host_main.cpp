// A host that loads the DLL named on its command line once and tells whether
// the load was accepted. Built several times, each lacking other host
// functions, to see which hosts the plug-in refuses.
//
// QVVORN_HOST_VERSION, when set, is the text that QVA_GetVersion answers;
// "(empty)" answers the empty text and "(none)" a null pointer.
//
// Prints "loaded", or "refused <error>", then the number of QVA_GetVersion
// calls; exits with 0 when loaded, 1 when refused, 2 without a DLL name, 90
// when it cannot enter the registry sandbox (it then loads nothing) and 124
// when its watchdog ends it.
#include <windows.h>

#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "abrupt_end.h"
#include "fake_host.h"
#include "safe_start.h"

namespace {

void TakeVersionFromEnvironment() {
    const char* text = std::getenv("QVVORN_HOST_VERSION");
    if (text == nullptr) {
        return;
    }
    if (std::strcmp(text, "(none)") == 0) {
        fake_host::TheHost().version = std::nullopt;
    } else if (std::strcmp(text, "(empty)") == 0) {
        fake_host::TheHost().version = std::string();
    } else {
        fake_host::TheHost().version = std::string(text);
    }
}

long VersionCalls() {
    const auto& calls = fake_host::TheHost().calls;
    return static_cast<long>(std::count(calls.begin(), calls.end(), "QVA_GetVersion"));
}

// The DLL named on the command line, wide: its folder's name may be one the
// ANSI code page cannot spell.
std::wstring DllArgument() {
    int count = 0;
    LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    std::wstring dll = arguments != nullptr && count >= 2 ? arguments[1] : L"";
    LocalFree(arguments);
    return dll;
}

} // namespace

int main(int, char** argv) {
    safe_start::Begin(); // in the registry of the test that started it
    std::wstring dll = DllArgument();
    if (dll.empty()) {
        std::printf("usage: %s QvVorn.dll\n", argv[0]);
        abrupt_end::End(2);
    }
    TakeVersionFromEnvironment();
    HMODULE module = LoadLibraryW(dll.c_str());
    DWORD error = GetLastError();
    if (module == nullptr) {
        std::printf("refused %lu\nQVA_GetVersion calls %ld\n", error, VersionCalls());
        abrupt_end::End(1);
    }
    std::printf("loaded\nQVA_GetVersion calls %ld\n", VersionCalls());
    FreeLibrary(module);
    abrupt_end::End(0);
}
