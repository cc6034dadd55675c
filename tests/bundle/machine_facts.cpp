// What machine the test programs ran on, as `name: value` lines: each value
// read from Windows itself, never parsed from text meant for people, and a
// call that failed says so instead of guessing. run-tests.cmd puts these lines
// at the top of its results.
#include <windows.h>
#include <shlwapi.h>
#include <tlhelp32.h>

#include <cstdio>
#include <string>
#include <vector>

#include "common/owned_handle.h"
#include "machine_facts_resources.h"
#include "win_handles.h"

namespace {

void FreeLibraryOf(HMODULE module) {
    FreeLibrary(module);
}
void ReleaseContext(HANDLE context) {
    ReleaseActCtx(context);
}
// A module this program loaded, unloaded when the owner goes.
using LoadedModule = OwnedHandle<HMODULE, FreeLibraryOf>;
// An activation context from CreateActCtxW.
using ActivationContext = OwnedHandle<HANDLE, ReleaseContext>;

template <typename Function> Function Export(HMODULE module, const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

// Functions that older Windows lacks, or that only some systems have.
template <typename Function> Function Find(const wchar_t* module, const char* name) {
    HMODULE loaded = GetModuleHandleW(module);
    return loaded ? Export<Function>(loaded, name) : nullptr;
}

void Fact(const char* name, const std::string& value) {
    std::printf("%s: %s\n", name, value.c_str());
}

std::string Failed(const char* api, DWORD error = GetLastError()) {
    return "unknown (" + std::string(api) + " failed, error " + std::to_string(error) + ")";
}

std::string Utf8(const wchar_t* text) {
    int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string result(size > 0 ? size : 1, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, &result[0], size, nullptr, nullptr);
    result.resize(result.size() - 1);
    return result;
}

// GetVersionEx reports Windows 8 to a program without a manifest that names
// a later one; RtlGetVersion tells the truth.
void PrintWindowsVersion() {
    using RtlGetVersion = LONG(WINAPI*)(OSVERSIONINFOEXW*);
    auto getVersion = Find<RtlGetVersion>(L"ntdll.dll", "RtlGetVersion");
    OSVERSIONINFOEXW version = {};
    version.dwOSVersionInfoSize = sizeof version;
    if (getVersion == nullptr || getVersion(&version) != 0) {
        Fact("windows", Failed("RtlGetVersion", ERROR_PROC_NOT_FOUND));
        return;
    }
    Fact("windows", std::to_string(version.dwMajorVersion) + "." +
                        std::to_string(version.dwMinorVersion) + " build " +
                        std::to_string(version.dwBuildNumber));
    Fact("product type", version.wProductType == VER_NT_WORKSTATION ? "workstation" : "server");
    // Wine's ntdll says which Wine it is; Windows' has no such export.
    using WineGetVersion = const char*(CDECL*)();
    auto wine = Find<WineGetVersion>(L"ntdll.dll", "wine_get_version");
    Fact("wine", wine ? wine() : "no (ntdll has no wine_get_version)");
}

void PrintSystemBitness() {
    using IsWow64 = BOOL(WINAPI*)(HANDLE, BOOL*);
    auto isWow64 = Find<IsWow64>(L"kernel32.dll", "IsWow64Process");
    BOOL wow64 = FALSE;
    if (isWow64 != nullptr && !isWow64(GetCurrentProcess(), &wow64)) {
        Fact("system", Failed("IsWow64Process"));
        return;
    }
    Fact("system", wow64 ? "64-bit (this 32-bit program runs under WOW64)" : "32-bit");
}

std::string SystemLocaleNumber(LCTYPE type, const char* api) {
    wchar_t text[16] = {};
    if (GetLocaleInfoW(LOCALE_SYSTEM_DEFAULT, type, text, 16) == 0) {
        return Failed(api);
    }
    return Utf8(text);
}

// This process's code pages can differ from the system's: a manifest's
// activeCodePage changes the process's alone.
void PrintCodePages() {
    Fact("ANSI code page (this process)", std::to_string(GetACP()));
    Fact("ANSI code page (system locale)",
         SystemLocaleNumber(LOCALE_IDEFAULTANSICODEPAGE, "GetLocaleInfoW"));
    Fact("OEM code page (this process)", std::to_string(GetOEMCP()));
}

void PrintLocales() {
    wchar_t name[LOCALE_NAME_MAX_LENGTH] = {};
    Fact("user locale", GetUserDefaultLocaleName(name, LOCALE_NAME_MAX_LENGTH)
                            ? Utf8(name)
                            : Failed("GetUserDefaultLocaleName"));
    Fact("system locale", GetSystemDefaultLocaleName(name, LOCALE_NAME_MAX_LENGTH)
                              ? Utf8(name)
                              : Failed("GetSystemDefaultLocaleName"));
}

// A program that is not DPI-aware is told 96 dpi on a scaled display (Windows
// scales its windows as pictures), so this one declares itself aware first
// and reads the system DPI that the dialogs are laid out at. Windows 8.1's
// per-monitor DPI of other monitors is not shown.
void PrintDisplayScaling() {
    SetProcessDPIAware();
    win_handles::WindowDc screen(nullptr);
    int dpi = screen.get() ? GetDeviceCaps(screen.get(), LOGPIXELSX) : 0;
    if (dpi <= 0) {
        Fact("display scaling", Failed("GetDeviceCaps"));
        return;
    }
    Fact("display scaling",
         std::to_string(dpi) + " dpi (" + std::to_string((dpi * 100 + 48) / 96) + "%)");
}

std::string VersionOf(HMODULE comctl32) {
    if (!comctl32) {
        return Failed("LoadLibraryW");
    }
    auto getVersion = Export<DLLGETVERSIONPROC>(comctl32, "DllGetVersion");
    DLLVERSIONINFO version = {};
    version.cbSize = sizeof version;
    if (getVersion == nullptr) {
        return Failed("GetProcAddress(DllGetVersion)");
    }
    HRESULT result = getVersion(&version);
    if (FAILED(result)) {
        return Failed("DllGetVersion", static_cast<DWORD>(result));
    }
    wchar_t path[MAX_PATH] = {};
    DWORD length = GetModuleFileNameW(comctl32, path, MAX_PATH);
    return std::to_string(version.dwMajorVersion) + "." + std::to_string(version.dwMinorVersion) +
           " (build " + std::to_string(version.dwBuildNumber) + "), " +
           (length > 0 && length < MAX_PATH ? Utf8(path) : Failed("GetModuleFileNameW"));
}

// The comctl32 that a program gets under a Common Controls 6 manifest: the
// same manifest as the _cc6 test programs have as resource 1, here under
// another id so that this program itself keeps the plain one.
std::string Comctl6Version() {
    ACTCTXW request = {};
    request.cbSize = sizeof request;
    request.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID | ACTCTX_FLAG_HMODULE_VALID;
    request.hModule = GetModuleHandleW(nullptr);
    request.lpResourceName = MAKEINTRESOURCEW(QVVORN_COMCTL6_MANIFEST);
    HANDLE created = CreateActCtxW(&request);
    if (created == INVALID_HANDLE_VALUE) {
        return Failed("CreateActCtxW");
    }
    ActivationContext context(created);
    ULONG_PTR cookie = 0;
    if (!ActivateActCtx(context.get(), &cookie)) {
        return Failed("ActivateActCtx");
    }
    LoadedModule comctl32(LoadLibraryW(L"comctl32.dll"));
    DWORD error = GetLastError();
    DeactivateActCtx(0, cookie);
    return comctl32 ? VersionOf(comctl32.get()) : Failed("LoadLibraryW", error);
}

// What the plug-in's settings dialog gets in the test programs: gui_tests and
// the like have no manifest, gui_tests_cc6 and the like ask for version 6.
void PrintComctl32Versions() {
    LoadedModule plain(LoadLibraryW(L"comctl32.dll"));
    Fact("comctl32 (no manifest)", VersionOf(plain.get()));
    Fact("comctl32 (Common Controls 6 manifest)", Comctl6Version());
}

void PrintSession() {
    Fact("session", GetSystemMetrics(SM_REMOTESESSION) ? "remote" : "console");
    DWORD session = 0;
    if (!ProcessIdToSessionId(GetCurrentProcessId(), &session)) {
        Fact("in the console session", Failed("ProcessIdToSessionId"));
        return;
    }
    DWORD console = WTSGetActiveConsoleSessionId();
    Fact("in the console session", std::string(session == console ? "yes" : "no") + " (session " +
                                       std::to_string(session) + ", console session " +
                                       std::to_string(console) + ")");
}

win_handles::KernelHandle Snapshot(DWORD flags, DWORD processId) {
    // A module snapshot can fail with ERROR_BAD_LENGTH while the process
    // loads or unloads a module; another try then succeeds.
    for (int attempt = 0; attempt < 5; ++attempt) {
        HANDLE snapshot = CreateToolhelp32Snapshot(flags, processId);
        if (snapshot != INVALID_HANDLE_VALUE) {
            return win_handles::KernelHandle(snapshot);
        }
        if (GetLastError() != ERROR_BAD_LENGTH) {
            break;
        }
    }
    return win_handles::KernelHandle();
}

enum class PluginCheck { kLoaded, kNotLoaded, kUninspected };

// A 64-bit process cannot load the 32-bit plug-in, and a 32-bit program
// cannot list its modules: it is not counted as one left uninspected.
bool Is64BitProcess(DWORD processId) {
    using IsWow64 = BOOL(WINAPI*)(HANDLE, BOOL*);
    auto isWow64 = Find<IsWow64>(L"kernel32.dll", "IsWow64Process");
    BOOL selfWow64 = FALSE;
    if (isWow64 == nullptr || !isWow64(GetCurrentProcess(), &selfWow64) || !selfWow64) {
        return false;
    }
    win_handles::KernelHandle process(
        OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
    BOOL wow64 = TRUE;
    return process && isWow64(process.get(), &wow64) && !wow64;
}

PluginCheck CheckForPlugin(DWORD processId) {
    win_handles::KernelHandle modules =
        Snapshot(TH32CS_SNAPMODULE | TH32CS_SNAPMODULE32, processId);
    if (!modules) {
        return Is64BitProcess(processId) ? PluginCheck::kNotLoaded : PluginCheck::kUninspected;
    }
    MODULEENTRY32W module = {};
    module.dwSize = sizeof module;
    for (BOOL more = Module32FirstW(modules.get(), &module); more;
         more = Module32NextW(modules.get(), &module)) {
        if (lstrcmpiW(module.szModule, L"QvVorn.dll") == 0) {
            return PluginCheck::kLoaded;
        }
    }
    return PluginCheck::kNotLoaded;
}

// The processes that have the plug-in loaded: a mail client running with it
// shares the registry key that the tests stand in for.
void PrintPluginHosts() {
    win_handles::KernelHandle processes = Snapshot(TH32CS_SNAPPROCESS, 0);
    if (!processes) {
        Fact("plug-in loaded in", Failed("CreateToolhelp32Snapshot"));
        return;
    }
    std::vector<std::string> hosts;
    int uninspected = 0;
    PROCESSENTRY32W process = {};
    process.dwSize = sizeof process;
    for (BOOL more = Process32FirstW(processes.get(), &process); more;
         more = Process32NextW(processes.get(), &process)) {
        if (process.th32ProcessID == 0 || process.th32ProcessID == GetCurrentProcessId()) {
            continue;
        }
        PluginCheck check = CheckForPlugin(process.th32ProcessID);
        if (check == PluginCheck::kLoaded) {
            hosts.push_back(Utf8(process.szExeFile) + " (pid " +
                            std::to_string(process.th32ProcessID) + ")");
        } else if (check == PluginCheck::kUninspected) {
            ++uninspected;
        }
    }
    std::string value;
    for (const std::string& host : hosts) {
        value += (value.empty() ? "" : ", ") + host;
    }
    if (value.empty()) {
        value = "none";
    }
    if (uninspected > 0) {
        value += "; " + std::to_string(uninspected) + " processes could not be inspected";
    }
    Fact("plug-in loaded in", value);
}

} // namespace

int main() {
    PrintWindowsVersion();
    PrintSystemBitness();
    PrintCodePages();
    PrintLocales();
    PrintDisplayScaling();
    PrintComctl32Versions();
    PrintSession();
    PrintPluginHosts();
    std::fflush(stdout);
    return 0;
}
