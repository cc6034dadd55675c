// Benchmark of the real QvVorn.dll in a host whose functions answer at once,
// against the floor: the same host calls and menu calls made directly.
// Prints the compared cases (measured interleaved, medians), then one line
// per goal and how many were met.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "bench_host.h"
#include "cp932_text.h"
#include "plugin_module.h"
#include "abrupt_end.h"
#include "safe_start.h"
#include "settings_values.h"

namespace {

const std::string kSubmenuLabel = cp932_text::FromWide(cp932_text::kSubmenuLabel);
const std::string kSubmenuComment = cp932_text::FromWide(cp932_text::kSubmenuComment);
const std::string kMoveSuffix = cp932_text::FromWide(cp932_text::kMoveSuffix);

using OnMenuInit = int(WINAPI*)(HWND, HMENU, int);
using CommandCallback = void(WINAPI*)(HWND, DWORD);

double NowMicroseconds() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) * 1e6 / static_cast<double>(frequency.QuadPart);
}

double Median(std::vector<double> samples) {
    std::sort(samples.begin(), samples.end());
    return samples.empty() ? 0 : samples[samples.size() / 2];
}

// フォルダ00001 and so on: Japanese folder ids, as the mail client has them.
std::wstring FolderWide(int index) {
    wchar_t digits[8];
    std::swprintf(digits, 8, L"%05d", index);
    return std::wstring(L"\x30D5\x30A9\x30EB\x30C0") + digits;
}

void StoreSettings(int folders, DWORD cap) {
    std::wstring joined;
    for (int i = 0; i < folders; ++i) {
        joined += (i == 0 ? L"" : L"*??*") + FolderWide(i);
    }
    settings_values::CreateKey();
    settings_values::SetText(L"VornFolder", joined);
    settings_values::SetDword(L"VornMax", cap);
}

// Runs the cases in rounds, alternating which goes first, and keeps every
// timing; the result is the median of each case.
std::vector<double> Interleaved(const std::vector<std::function<double()>>& cases, int rounds,
                                int perRound) {
    for (const std::function<double()>& run : cases) {
        run(); // warm-up, not counted
    }
    std::vector<std::vector<double>> samples(cases.size());
    for (int round = 0; round < rounds; ++round) {
        for (size_t k = 0; k < cases.size(); ++k) {
            size_t which = round % 2 == 0 ? k : cases.size() - 1 - k;
            for (int i = 0; i < perRound; ++i) {
                samples[which].push_back(cases[which]());
            }
        }
    }
    std::vector<double> medians;
    for (const std::vector<double>& s : samples) {
        medians.push_back(Median(s));
    }
    return medians;
}

HMENU HostContextMenu() {
    HMENU menu = CreatePopupMenu();
    AppendMenuA(menu, MF_STRING, 100, "Reply");
    AppendMenuA(menu, MF_STRING, 101, "Delete");
    return menu;
}

CommandCallback capturedCallback = nullptr;

int WINAPI StateAnswer(DWORD, DWORD) {
    return 0;
}

// What building the submenu has to do at the least: the host's calls and the
// menu calls, for folders whose texts and comments are ready.
struct MenuFloor {
    std::vector<std::string> folders;
    std::vector<std::string> comments;

    void Build(HMENU menu) const {
        fake_host::RegisterCommand(kSubmenuComment.c_str(), 1, nullptr);
        InsertMenuA(menu, 0, MF_BYPOSITION | MF_SEPARATOR, 0, "");
        HMENU popup = CreatePopupMenu();
        InsertMenuA(menu, 0, MF_BYPOSITION | MF_POPUP, reinterpret_cast<UINT_PTR>(popup),
                    kSubmenuLabel.c_str());
        for (size_t i = 0; i < folders.size(); ++i) {
            const char* display = fake_host::GetFolderDisplayName(folders[i].c_str());
            int id = fake_host::RegisterCommand(comments[i].c_str(), 1, nullptr);
            int item = fake_host::RegisterUICallback(id, StateAnswer);
            InsertMenuA(popup, 255, MF_BYPOSITION | MF_STRING, static_cast<UINT_PTR>(item),
                        display);
        }
    }
};

MenuFloor FloorFor(int folders) {
    MenuFloor floor;
    for (int i = 0; i < folders; ++i) {
        floor.folders.push_back(cp932_text::FromWide(FolderWide(i).c_str()));
        floor.comments.push_back(floor.folders.back() + kMoveSuffix);
    }
    return floor;
}

double TimeMenu(const std::function<void(HMENU)>& build) {
    HMENU menu = HostContextMenu();
    double start = NowMicroseconds();
    build(menu);
    double elapsed = NowMicroseconds() - start;
    DestroyMenu(menu);
    return elapsed;
}

struct Plugin {
    HMODULE module = nullptr;
    OnMenuInit menuInit = nullptr;
    explicit Plugin(const char* path) {
        module = LoadLibraryA(path);
        menuInit = reinterpret_cast<OnMenuInit>(
            reinterpret_cast<void (*)()>(GetProcAddress(module, "QVC_OnMenuInit")));
    }
    ~Plugin() { FreeLibrary(module); }
};

struct Result {
    std::string name;
    double value;
    double limit;
    bool met;
    const char* unit;
};

std::vector<Result> goals;

void Goal(const std::string& name, double value, double limit, const char* unit) {
    goals.push_back({name, value, limit, value <= limit, unit});
}

void BenchMenus(const char* dll) {
    std::printf("Context-menu build (median, microseconds)\n");
    std::printf("  %-8s %10s %10s %8s\n", "folders", "DLL", "floor", "ratio");
    double ratio[3] = {};
    double dllTime[3] = {};
    double floorTime[3] = {};
    const int counts[3] = {5, 10, 30};
    for (int c = 0; c < 3; ++c) {
        StoreSettings(counts[c], 30);
        Plugin plugin(dll);
        MenuFloor floor = FloorFor(counts[c]);
        TimeMenu([&](HMENU menu) { plugin.menuInit(nullptr, menu, 1); }); // first build binds
        std::vector<double> m = Interleaved(
            {[&] { return TimeMenu([&](HMENU menu) { plugin.menuInit(nullptr, menu, 1); }); },
             [&] { return TimeMenu([&](HMENU menu) { floor.Build(menu); }); }},
            500, 10);
        ratio[c] = m[0] / m[1];
        dllTime[c] = m[0];
        floorTime[c] = m[1];
        std::printf("  %-8d %10.2f %10.2f %7.2fx\n", counts[c], m[0], m[1], ratio[c]);
    }
    for (int c = 0; c < 3; ++c) {
        Goal("context menu, " + std::to_string(counts[c]) + " folders: times the floor", ratio[c],
             1.2, "x");
    }
    // Linear: the DLL's time over the floor's does not grow with the number
    // of folders (a part that grew faster, as a search of the list for each
    // item did, would raise it from 5 to 30).
    double dllSlope = (dllTime[2] - dllTime[1]) / 20;
    double floorSlope = (floorTime[2] - floorTime[1]) / 20;
    std::printf("  each folder from 10 to 30: DLL %.3f us, floor %.3f us\n", dllSlope, floorSlope);
    Goal("context menu, linear: times the floor at 30 over times the floor at 5",
         ratio[2] / ratio[0], 1.1, "x");
    Goal("context menu, each folder from 10 to 30: times the floor's", dllSlope / floorSlope, 1.2,
         "x");
}

void BenchPick(const char* dll) {
    StoreSettings(30, 30);
    Plugin plugin(dll);
    std::vector<UINT> ids;
    auto build = [&] {
        HMENU menu = HostContextMenu();
        plugin.menuInit(nullptr, menu, 1);
        HMENU submenu = GetSubMenu(menu, 0);
        ids.clear();
        for (int i = GetMenuItemCount(submenu) - 1; i >= 0; --i) {
            ids.push_back(GetMenuItemID(submenu, i));
        }
        DestroyMenu(menu);
    };
    std::vector<void*> entries(30, nullptr);
    std::string target = cp932_text::FromWide(FolderWide(29).c_str());
    // Picking the last item 30 times brings the list back to its order, so
    // the picks go round several times: one sample spans many clock ticks.
    const int turns = 10;
    std::vector<double> m = Interleaved(
        {[&] {
             build();
             double start = NowMicroseconds();
             for (int turn = 0; turn < turns; ++turn) {
                 for (UINT id : ids) {
                     capturedCallback(nullptr, id);
                 }
             }
             return (NowMicroseconds() - start) / static_cast<double>(ids.size() * turns);
         },
         [&] {
             double start = NowMicroseconds();
             for (int i = 0; i < 30 * turns; ++i) {
                 fake_host::MoveSelectedMessages(target.c_str(), 0);
                 std::rotate(entries.begin(), entries.end() - 1, entries.end());
             }
             return (NowMicroseconds() - start) / (30 * turns);
         }},
        15, 100);
    std::printf("\nPick of the last item of 30 (median, microseconds)\n  DLL %.3f, floor (host "
                "call and moving an entry to the front) %.3f: %.2fx\n",
                m[0], m[1], m[0] / m[1]);
}

// Reading the value once and scanning it once: what loading needs at least.
int ReadAndScan() {
    HKEY key = nullptr;
    RegOpenKeyExA(HKEY_CURRENT_USER, settings_values::kKeyPath, 0, KEY_READ | KEY_SET_VALUE, &key);
    DWORD size = 0;
    RegQueryValueExW(key, L"VornFolder", nullptr, nullptr, nullptr, &size);
    std::vector<wchar_t> text(size / sizeof(wchar_t) + 1);
    RegQueryValueExW(key, L"VornFolder", nullptr, nullptr, reinterpret_cast<BYTE*>(text.data()),
                     &size);
    RegCloseKey(key);
    int pieces = 0;
    bool inPiece = false;
    for (size_t i = 0; i < size / sizeof(wchar_t); ++i) {
        bool separator = text[i] == L'*' || text[i] == L'?';
        pieces += !separator && !inPiece;
        inPiece = !separator;
    }
    return pieces;
}

void BenchLoad(const char* dll) {
    std::printf("\nLoad + unload (median, microseconds)\n");
    std::printf("  %-8s %12s %12s\n", "folders", "DLL", "floor");
    const int counts[5] = {0, 30, 1000, 10000, 100000};
    double dllTime[5] = {};
    double floorTime[5] = {};
    volatile int sink = 0;
    for (int c = 0; c < 5; ++c) {
        StoreSettings(counts[c], 10);
        int rounds = counts[c] >= 100000 ? 21 : counts[c] >= 10000 ? 61 : 301;
        int perRound = 1;
        std::vector<double> m = Interleaved({[&] {
                                                 double start = NowMicroseconds();
                                                 HMODULE module = LoadLibraryA(dll);
                                                 FreeLibrary(module);
                                                 return NowMicroseconds() - start;
                                             },
                                             [&] {
                                                 double start = NowMicroseconds();
                                                 sink = ReadAndScan();
                                                 return NowMicroseconds() - start;
                                             }},
                                            rounds, perRound);
        dllTime[c] = m[0];
        floorTime[c] = m[1];
        std::printf("  %-8d %12.1f %12.1f\n", counts[c], m[0], m[1]);
    }
    // Reported, not held to a limit: at the 5 to 30 folders a user keeps,
    // each costs a fraction of a microsecond of a load that takes milliseconds.
    double dllPerFolder = (dllTime[4] - dllTime[0]) / counts[4];
    double floorPerFolder = (floorTime[4] - floorTime[0]) / counts[4];
    // Linear: from 10,000 to 100,000 folders each costs the DLL what each of
    // the first 10,000 did, measured against the floor over the same range
    // (the platform's own reading slows down with such large values).
    double firstRatio = ((dllTime[3] - dllTime[0]) / (floorTime[3] - floorTime[0]));
    double restRatio = ((dllTime[4] - dllTime[3]) / (floorTime[4] - floorTime[3]));
    std::printf("  per folder: DLL %.3f us, floor %.3f us (%.2fx); times the floor up to 10,000 "
                "%.2fx, from 10,000 to 100,000 %.2fx\n",
                dllPerFolder, floorPerFolder, dllPerFolder / floorPerFolder, firstRatio, restRatio);
    Goal("load + unload, linear: times the floor from 10,000 to 100,000 over up to 10,000",
         restRatio / firstRatio, 1.25, "x");
}

// Load + unload with 30 stored folders against a module that does nothing,
// with the same exports, imports from the same system DLLs and the same
// resources (the tests' idle_module.dll): what the module adds to a start of
// the host.
void BenchLoadAgainstIdle(const char* dll) {
    StoreSettings(30, 30);
    auto loadAndUnload = [](const char* path) {
        return [path] {
            double start = NowMicroseconds();
            FreeLibrary(LoadLibraryA(path));
            return NowMicroseconds() - start;
        };
    };
    std::vector<double> m =
        Interleaved({loadAndUnload(dll), loadAndUnload("idle_module.dll")}, 301, 1);
    std::printf("\nLoad + unload with 30 folders (median, microseconds)\n  DLL %.1f, a module that "
                "does nothing %.1f: %.2fx\n",
                m[0], m[1], m[0] / m[1]);
    Goal("load + unload, 30 folders: times a module that does nothing", m[0] / m[1], 2.0, "x");
}

// The module's file size and how many functions it imports.
void Footprint(const char* dll) {
    HANDLE file =
        CreateFileA(dll, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    double size = static_cast<double>(GetFileSize(file, nullptr));
    CloseHandle(file);
    HMODULE module = LoadLibraryExA(dll, nullptr, DONT_RESOLVE_DLL_REFERENCES);
    const BYTE* base = reinterpret_cast<const BYTE*>(module);
    const IMAGE_NT_HEADERS32* nt = reinterpret_cast<const IMAGE_NT_HEADERS32*>(
        base + reinterpret_cast<const IMAGE_DOS_HEADER*>(base)->e_lfanew);
    const IMAGE_DATA_DIRECTORY& dir =
        nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    int imports = 0;
    for (auto d = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + dir.VirtualAddress);
         d->Name != 0; ++d) {
        for (auto t = reinterpret_cast<const IMAGE_THUNK_DATA32*>(base + d->OriginalFirstThunk);
             t->u1.AddressOfData != 0; ++t) {
            ++imports;
        }
    }
    FreeLibrary(module);
    std::printf("Footprint: %.0f bytes, %d imported functions\n\n", size, imports);
    Goal("file size", size, 78000, " bytes");
    Goal("imported functions", imports, 45, "");
}

} // namespace

// Looked up by the benchmark's RegisterCommand to call the move command.
namespace bench_host {
void CaptureCallback(fake_host::CommandCallback callback) {
    if (callback != nullptr) {
        capturedCallback = callback;
    }
}
} // namespace bench_host

int main(int argc, char** argv) {
    const char* dll = argc > 1 ? argv[1] : "QvVorn.dll";
    // The settings it stores go to a key of its own, never to the mail
    // client's: anyone may run the benchmark on their own Windows.
    safe_start::Begin();
    plugin_module::KeepSystemLibrariesLoaded();
    Footprint(dll);
    BenchMenus(dll);
    BenchPick(dll);
    BenchLoad(dll);
    BenchLoadAgainstIdle(dll);
    std::printf("\n");
    int met = 0;
    for (const Result& g : goals) {
        met += g.met;
        std::printf("%-4s %s: %.3f%s (limit %.3f%s)\n", g.met ? "MET" : "NOT", g.name.c_str(),
                    g.value, g.unit, g.limit, g.unit);
    }
    std::printf("goals met: %d of %zu\n", met, goals.size());
    abrupt_end::End(0);
}
