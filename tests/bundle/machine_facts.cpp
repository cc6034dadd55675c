// What machine the test programs ran on, as `name: value` lines: each value
// read from Windows itself, never parsed from text meant for people, and a
// call that failed says so instead of guessing. run-tests.cmd puts these lines
// at the top of its results.
#include <windows.h>
#include <shlwapi.h>
#include <tlhelp32.h>

#include <cstdio>
#include <optional>
#include <string>

#include "common/owned_handle.h"
#include "error_dialogs.h"
#include "machine_facts_resources.h"
#include "win_handles.h"

namespace {

struct Free {
    static void Library(HMODULE module) { FreeLibrary(module); }
    static void Context(HANDLE context) { ReleaseActCtx(context); }
};
// A module this program loaded, unloaded when the owner goes.
using LoadedModule = OwnedHandle<HMODULE, Free::Library>;
// An activation context from CreateActCtxW.
using ActivationContext = OwnedHandle<HANDLE, Free::Context>;

// A function that some Windows lacks, looked up at run time so that this
// program still starts there.
template <typename Function> Function Export(HMODULE module, const char* name) {
    FARPROC found = module ? GetProcAddress(module, name) : nullptr;
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(found));
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
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    auto getVersion = Export<LONG(WINAPI*)(OSVERSIONINFOEXW*)>(ntdll, "RtlGetVersion");
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
    auto wine = Export<const char*(CDECL*)()>(ntdll, "wine_get_version");
    Fact("wine", wine ? wine() : "no (ntdll has no wine_get_version)");
}

// Whether WOW64 runs `process`, and the machine that Windows runs natively:
// IsWow64Process2 (Windows 10 1709 on) names it; IsWow64Process names none
// (IMAGE_FILE_MACHINE_UNKNOWN).
bool Wow64(HANDLE process, BOOL* wow64, USHORT* native) {
    auto named = Export<BOOL(WINAPI*)(HANDLE, USHORT*, USHORT*)>(GetModuleHandleW(L"kernel32.dll"),
                                                                 "IsWow64Process2");
    USHORT machine = *native = IMAGE_FILE_MACHINE_UNKNOWN;
    *wow64 = FALSE;
    BOOL done = named ? named(process, &machine, native) : IsWow64Process(process, wow64);
    *wow64 = *wow64 || machine != IMAGE_FILE_MACHINE_UNKNOWN;
    return done;
}

// Without WOW64 this x86 program runs on 32-bit Windows, on x86.
void PrintMachine() {
    BOOL wow64 = FALSE;
    USHORT native = IMAGE_FILE_MACHINE_UNKNOWN;
    if (!Wow64(GetCurrentProcess(), &wow64, &native)) {
        Fact("machine", Failed("IsWow64Process"));
        return;
    }
    std::string name =
        native == IMAGE_FILE_MACHINE_UNKNOWN ? "64-bit, not named (no IsWow64Process2)"
        : native == IMAGE_FILE_MACHINE_AMD64 ? "x64"
        : native == IMAGE_FILE_MACHINE_ARM64 ? "ARM64"
                                             : "IMAGE_FILE_MACHINE " + std::to_string(native);
    Fact("machine",
         wow64 ? name + " (this 32-bit program runs under WOW64)" : "x86 (32-bit Windows)");
}

void PrintCodePages() {
    Fact("ANSI code page (this process)", std::to_string(GetACP()));
    // The system's, as Windows keeps it (a manifest's activeCodePage changes
    // GetACP for that program alone); it comes back terminated, or not at all.
    wchar_t text[16] = {};
    DWORD size = sizeof text;
    LONG error =
        RegGetValueW(HKEY_LOCAL_MACHINE, L"SYSTEM\\CurrentControlSet\\Control\\Nls\\CodePage",
                     L"ACP", RRF_RT_REG_SZ, nullptr, text, &size);
    Fact("ANSI code page (system, Nls\\CodePage ACP)",
         error == ERROR_SUCCESS ? Utf8(text) : Failed("RegGetValueW", static_cast<DWORD>(error)));
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

std::string ScreenDpi() {
    win_handles::WindowDc screen(nullptr);
    int dpi = screen.get() ? GetDeviceCaps(screen.get(), LOGPIXELSX) : 0;
    return dpi > 0 ? std::to_string(dpi) + " dpi (" + std::to_string((dpi * 100 + 48) / 96) + "%)"
                   : Failed("GetDeviceCaps");
}

// A program that is not DPI-aware, as the test programs are not, is told
// 96 dpi on a display that Windows scales for it (it scales its windows as
// pictures); a DPI-aware one is told the system DPI that dialogs are laid
// out at. Other monitors' own DPI (Windows 8.1 on) is not shown.
void PrintDisplayScaling() {
    Fact("display scaling (not DPI-aware, as the test programs see it)", ScreenDpi());
    SetProcessDPIAware();
    Fact("display scaling", ScreenDpi() + ", as a DPI-aware program sees it");
}

std::string VersionOf(HMODULE comctl32) {
    auto getVersion = Export<DLLGETVERSIONPROC>(comctl32, "DllGetVersion");
    DLLVERSIONINFO version = {};
    version.cbSize = sizeof version;
    HRESULT result = getVersion ? getVersion(&version) : HRESULT_FROM_WIN32(ERROR_PROC_NOT_FOUND);
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
    Fact("comctl32 (no manifest)", plain ? VersionOf(plain.get()) : Failed("LoadLibraryW"));
    Fact("comctl32 (Common Controls 6 manifest)", Comctl6Version());
}

// SM_REMOTESESSION is 0 also in some remote sessions (RemoteFX vGPU), so it
// says no more than that.
void PrintSession() {
    Fact("remote desktop", GetSystemMetrics(SM_REMOTESESSION) ? "yes" : "no");
    DWORD session = 0;
    if (!ProcessIdToSessionId(GetCurrentProcessId(), &session)) {
        Fact("in the console session", Failed("ProcessIdToSessionId"));
        return;
    }
    // 0xFFFFFFFF: no session is attached to the physical console just now.
    DWORD console = WTSGetActiveConsoleSessionId();
    std::string where = console == 0xFFFFFFFF ? "no session attached to the console"
                                              : "console session " + std::to_string(console);
    Fact("in the console session", std::string(session == console ? "yes" : "no") + " (session " +
                                       std::to_string(session) + ", " + where + ")");
}

// A module snapshot can fail with ERROR_BAD_LENGTH while the process loads
// or unloads a module; another try then succeeds.
win_handles::KernelHandle Snapshot(DWORD flags, DWORD processId) {
    HANDLE snapshot = CreateToolhelp32Snapshot(flags, processId);
    for (int retry = 0;
         retry < 4 && snapshot == INVALID_HANDLE_VALUE && GetLastError() == ERROR_BAD_LENGTH;
         ++retry) {
        snapshot = CreateToolhelp32Snapshot(flags, processId);
    }
    return win_handles::KernelHandle(snapshot == INVALID_HANDLE_VALUE ? nullptr : snapshot);
}

// A 64-bit process cannot load the 32-bit plug-in, and a 32-bit program
// cannot list its modules: it is not counted as one left uninspected.
bool Is64BitProcess(DWORD processId) {
    BOOL selfWow64 = FALSE;
    BOOL wow64 = TRUE;
    USHORT native = 0;
    win_handles::KernelHandle process(
        OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
    return Wow64(GetCurrentProcess(), &selfWow64, &native) && selfWow64 && process &&
           Wow64(process.get(), &wow64, &native) && !wow64;
}

// Whether QvVorn.dll is among the process's modules; none where they could
// not be listed (a standard user's cannot, of many SYSTEM processes).
std::optional<bool> HasPlugin(DWORD processId) {
    win_handles::KernelHandle modules =
        Snapshot(TH32CS_SNAPMODULE | TH32CS_SNAPMODULE32, processId);
    if (!modules) {
        return std::nullopt;
    }
    MODULEENTRY32W module = {};
    module.dwSize = sizeof module;
    BOOL more = Module32FirstW(modules.get(), &module);
    while (more && lstrcmpiW(module.szModule, L"QvVorn.dll") != 0) {
        more = Module32NextW(modules.get(), &module);
    }
    return more != FALSE;
}

// The processes seen with the plug-in loaded: a mail client running with it
// shares the registry key that the tests stand in for. Those not inspected
// are counted, not taken for hosts.
void PrintPluginHosts() {
    win_handles::KernelHandle processes = Snapshot(TH32CS_SNAPPROCESS, 0);
    if (!processes) {
        std::string failed = Failed("CreateToolhelp32Snapshot");
        Fact("plug-in loaded in", failed);
        Fact("processes not inspected", failed);
        return;
    }
    std::string hosts;
    int uninspected = 0;
    PROCESSENTRY32W process = {};
    process.dwSize = sizeof process;
    for (BOOL more = Process32FirstW(processes.get(), &process); more;
         more = Process32NextW(processes.get(), &process)) {
        DWORD id = process.th32ProcessID;
        if (id == 0 || id == GetCurrentProcessId()) {
            continue;
        }
        std::optional<bool> loaded = HasPlugin(id);
        if (loaded.value_or(false)) {
            hosts += (hosts.empty() ? "" : ", ") + Utf8(process.szExeFile) + " (pid " +
                     std::to_string(id) + ")";
        } else if (!loaded && !Is64BitProcess(id)) {
            ++uninspected;
        }
    }
    Fact("plug-in loaded in", hosts.empty() ? "none" : hosts);
    Fact("processes not inspected", std::to_string(uninspected));
}

} // namespace

int main() {
    error_dialogs::TurnOff();
    PrintWindowsVersion();
    PrintMachine();
    PrintCodePages();
    PrintLocales();
    PrintDisplayScaling();
    PrintComctl32Versions();
    PrintSession();
    PrintPluginHosts();
    std::fflush(stdout);
    return 0;
}
