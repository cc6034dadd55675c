// What every build of the module keeps, whichever compiler made it: the export
// and import tables of the file, exceptions thrown and caught inside it, and
// nothing left in the host's process by loading and unloading it.
// QVVORN_MODULE names the module under test, relative to this program's folder
// (default QvVorn.dll). With QVVORN_SHARED_UNWINDER set, the process holds the
// shared GNU unwinder before any module loads, as a host does that has loaded
// a module built with the shared runtime.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <map>
#include <cctype>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "fake_host.h"
#include "fresh_start.h"
#include "leak_rounds.h"
#include "module_exports.h"
#include "pe_image.h"
#include "plugin_module.h"
#include "program_folder.h"
#include "settings_values.h"

namespace {

// A full path, wide: the folder's name may be one the ANSI code page cannot spell.
std::wstring ModulePath() {
    wchar_t name[MAX_PATH] = {};
    DWORD length = GetEnvironmentVariableW(L"QVVORN_MODULE", name, MAX_PATH);
    return program_folder::Beside(length > 0 && length < MAX_PATH ? name : L"QvVorn.dll");
}

// What the module's build says of its runtime, in the .runtime file beside
// it: "toolchain <compiler>/<gcc runtime>/<mingw-w64>" and "extras ON" or OFF.
std::string RuntimeInfo() {
    std::wstring path = ModulePath();
    std::vector<unsigned char> bytes =
        program_folder::ReadBytes(path.replace(path.rfind(L".dll"), 4, L".runtime"));
    return std::string(bytes.begin(), bytes.end());
}

// A test of what a runtime extra brings is skipped for a module built with
// the core runtime alone, as on a toolchain that nobody has checked or with
// the posix thread model, whose winpthreads no extra can make give back what
// it takes.
const char* CoreOnly() {
    return RuntimeInfo().find("threads posix\n") != std::string::npos
               ? "built with the posix thread model (winpthreads keeps a TLS slot and handles "
                 "at every load), so with the core runtime alone, without the runtime extra"
               : "built with the core runtime alone, without the runtime extra";
}
#define SKIP_WITHOUT_RUNTIME_EXTRA(extra)                                                          \
    ASSERT_FALSE(RuntimeInfo().empty()) << "no .runtime file beside " << ModulePath();             \
    if (RuntimeInfo().find("extras ON\n") == std::string::npos) {                                  \
        GTEST_SKIP() << CoreOnly() << ": " << (extra);                                             \
    }

// The shared unwinder of mingw-w64's gcc runtime, copied here by the build.
constexpr wchar_t kSharedUnwinder[] = L"libgcc_s_dw2-1.dll";

class SharedUnwinder : public ::testing::Environment {
  public:
    void SetUp() override {
        if (std::getenv("QVVORN_SHARED_UNWINDER") != nullptr) {
            ASSERT_NE(LoadLibraryW(program_folder::Beside(kSharedUnwinder).c_str()), nullptr)
                << GetLastError();
        }
    }
};

const ::testing::Environment* const sharedUnwinder =
    ::testing::AddGlobalTestEnvironment(new SharedUnwinder);

// While set, the module's MultiByteToWideChar fails, as a conversion the
// system cannot make does: the module's own code then raises and must catch.
bool conversionsFail = false;
long failedConversions = 0;

int WINAPI FailingMultiByteToWideChar(UINT codePage, DWORD flags, LPCSTR text, int bytes,
                                      LPWSTR wide, int units) {
    if (conversionsFail) {
        ++failedConversions;
        SetLastError(ERROR_NO_UNICODE_TRANSLATION);
        return 0;
    }
    return MultiByteToWideChar(codePage, flags, text, bytes, wide, units);
}

bool FailConversionsIn(HMODULE module) {
    return pe_image::PatchImport(module, "kernel32.dll", "MultiByteToWideChar",
                                 reinterpret_cast<FARPROC>(FailingMultiByteToWideChar)) != nullptr;
}

// While set, the module's malloc fails too: the exception raised then comes
// from the runtime's emergency pool.
bool allocationsFail = false;
long failedAllocations = 0;

void* __cdecl FailingMalloc(size_t bytes) {
    if (allocationsFail) {
        ++failedAllocations;
        return nullptr;
    }
    return std::malloc(bytes);
}

TEST(ModuleFile, ExportsExactlyTheSixteenCallbacksByOrdinal) {
    pe_image::ExportDirectory exports(program_folder::ReadBytes(ModulePath()));
    ASSERT_TRUE(exports.valid) << ModulePath();
    EXPECT_EQ(exports.machine, IMAGE_FILE_MACHINE_I386);
    EXPECT_EQ(exports.dllName, "QvVorn.dll");
    EXPECT_EQ(exports.ordinalBase, 1u);
    EXPECT_EQ(exports.functionCount, 16u);
    ASSERT_EQ(exports.names.size(), 16u);
    std::map<std::string, DWORD> expected;
    for (const module_exports::Export& e : module_exports::kExports) {
        expected[e.name] = e.ordinal;
    }
    std::map<std::string, DWORD> found;
    for (const pe_image::ExportDirectory::Name& name : exports.names) {
        found[name.text] = name.ordinal;
    }
    EXPECT_EQ(found, expected);
    for (const pe_image::ExportDirectory::Name& name : exports.names) {
        EXPECT_EQ(name.text.find('@'), std::string::npos) << name.text;
        EXPECT_EQ(name.text.rfind("QVC_", 0), 0u) << name.text; // no leading underscore
    }
}

// Everything the module imports is called by its own code or by runtime code
// that can run in it, and comes from Windows system DLLs.
TEST(ModuleFile, ImportsOnlyWhatCanRunFromSystemDlls) {
    SKIP_WITHOUT_RUNTIME_EXTRA("no locks, no TLS callback, no pseudo-relocation routine");
    HMODULE image = LoadLibraryExW(ModulePath().c_str(), nullptr, DONT_RESOLVE_DLL_REFERENCES);
    ASSERT_NE(image, nullptr) << ModulePath();
    std::vector<pe_image::Import> imports = pe_image::Imports(image);
    FreeLibrary(image);

    EXPECT_LE(imports.size(), 45u);
    const std::set<std::string> systemDlls = {"advapi32.dll", "comctl32.dll", "kernel32.dll",
                                              "msvcrt.dll", "user32.dll"};
    // Runtime code that a module called one call at a time never runs.
    std::set<std::string> neverRun = {
        // the thread layer: thread-local storage, thread ids, the critical
        // sections of the thread-key clean-up
        "TlsAlloc", "TlsFree", "TlsGetValue", "TlsSetValue", "GetCurrentThreadId", "SetLastError",
        "CloseHandle", "InitializeCriticalSection", "DeleteCriticalSection", "EnterCriticalSection",
        "LeaveCriticalSection",
        // the pseudo-relocation routine: page protection, printed diagnostics
        "VirtualProtect", "VirtualQuery", "vfprintf", "fwrite", "_iob", "strncmp",
        // the loading of the shared unwinder
        "LoadLibraryA", "LoadLibraryW", "FreeLibrary"};
    // The frame registry of libgcc, which the module's own tables need, locks
    // its list with code compiled inline: semaphores in gcc 12, critical
    // sections from gcc 13 on. The lock runs only while _CRT_MT is not 0,
    // which it never is in the module.
    int gccRuntime = 0;
    std::sscanf(RuntimeInfo().c_str(), "toolchain %*s %*d/%d", &gccRuntime);
    if (gccRuntime >= 13) {
        for (const char* name :
             {"InitializeCriticalSection", "EnterCriticalSection", "LeaveCriticalSection"}) {
            neverRun.erase(name);
        }
    }
    for (const pe_image::Import& import : imports) {
        SCOPED_TRACE(import.dll + "!" + import.function);
        std::string dll = import.dll;
        std::transform(dll.begin(), dll.end(), dll.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        EXPECT_EQ(systemDlls.count(dll), 1u);
        EXPECT_EQ(neverRun.count(import.function), 0u);
    }
}

// It does not ask for the shared unwinder by name.
TEST(ModuleFile, NamesNoSharedUnwinder) {
    std::vector<unsigned char> bytes = program_folder::ReadBytes(ModulePath());
    ASSERT_FALSE(bytes.empty()) << ModulePath();
    const std::string name = "libgcc_s";
    EXPECT_EQ(std::search(bytes.begin(), bytes.end(), name.begin(), name.end()), bytes.end());
}

TEST(ModuleFile, IsSmall) {
    SKIP_WITHOUT_RUNTIME_EXTRA("no verbose terminate handler");
    EXPECT_LE(program_folder::ReadBytes(ModulePath()).size(), 78000u) << ModulePath();
}

std::vector<std::string> SubmenuLabels(const plugin_module::Plugin& plugin) {
    HMENU context = CreatePopupMenu();
    plugin.menuInit(nullptr, context, 1);
    std::vector<std::string> labels;
    for (const plugin_module::MenuItem& item : plugin_module::ReadMenu(GetSubMenu(context, 0))) {
        labels.push_back(item.label);
    }
    DestroyMenu(context);
    return labels;
}

// A drop whose folder text cannot be converted: the module raises inside the
// callback and catches at its boundary; the host gets 0 and the history is
// as it was, and the module works on. When allocations fail as well, the
// exception comes from the runtime's emergency pool.
TEST(ModuleThrow, AFailedConversionInsideACallbackEndsThereAndChangesNothing) {
    for (bool poolOnly : {false, true}) {
        // The runtime's own exception state is allocated at a thread's first
        // throw, which fails when every allocation does.
        if (poolOnly && RuntimeInfo().find("extras ON\n") == std::string::npos) {
            std::printf("no throw from the emergency pool: %s\n", CoreOnly());
            continue;
        }
        SCOPED_TRACE(poolOnly ? "every allocation failing" : "allocations succeeding");
        plugin_module::Plugin plugin;
        ASSERT_TRUE(fresh_start::Restart(plugin, 10, nullptr, ModulePath().c_str()))
            << GetLastError();
        ASSERT_TRUE(FailConversionsIn(plugin.module));
        ASSERT_NE(pe_image::PatchImport(plugin.module, "msvcrt.dll", "malloc",
                                        reinterpret_cast<FARPROC>(FailingMalloc)),
                  nullptr);

        EXPECT_EQ(plugin.dragDrop("Alpha", 0, 0, 1), 0);
        failedConversions = 0;
        failedAllocations = 0;
        conversionsFail = true;
        allocationsFail = poolOnly;
        EXPECT_EQ(plugin.dragDrop("Beta", 0, 0, 1), 0);
        conversionsFail = false;
        allocationsFail = false;
        if (poolOnly) {
            EXPECT_GE(failedAllocations, 1);
        } else {
            EXPECT_EQ(failedConversions, 1);
        }

        EXPECT_EQ(plugin.dragDrop("Gamma", 0, 0, 2), 0);
        EXPECT_EQ(SubmenuLabels(plugin), (std::vector<std::string>{"Gamma", "Alpha"}));
        plugin_module::Unload(plugin);
        EXPECT_EQ(settings_values::Text(L"VornFolder"), L"Gamma*??*Alpha");
    }
}

// The bytes that modules loaded while this lives hold from msvcrt's
// allocation functions: their imports of malloc, calloc, realloc and free
// come here, through msvcrt's export table.
std::map<void*, SIZE_T> heldBlocks;

void* Held(void* block, size_t bytes) {
    if (block != nullptr) {
        heldBlocks[block] = bytes;
    }
    return block;
}
void* __cdecl HeldMalloc(size_t bytes) {
    return Held(std::malloc(bytes), bytes);
}
void* __cdecl HeldCalloc(size_t count, size_t size) {
    return Held(std::calloc(count, size), count * size);
}
void* __cdecl HeldRealloc(void* old, size_t bytes) {
    void* block = std::realloc(old, bytes);
    if (block != nullptr || bytes == 0) {
        heldBlocks.erase(old);
    }
    return Held(block, bytes);
}
void __cdecl HeldFree(void* block) {
    heldBlocks.erase(block);
    std::free(block);
}

struct ModuleAllocations {
    std::pair<const char*, FARPROC> hooks[4] = {{"malloc", FARPROC(HeldMalloc)},
                                                {"calloc", FARPROC(HeldCalloc)},
                                                {"realloc", FARPROC(HeldRealloc)},
                                                {"free", FARPROC(HeldFree)}};
    ModuleAllocations() { Swap(); }
    ~ModuleAllocations() { Swap(); }
    void Swap() {
        for (auto& hook : hooks) {
            hook.second =
                pe_image::PatchExport(GetModuleHandleA("msvcrt.dll"), hook.first, hook.second);
        }
    }
    static SIZE_T Bytes() {
        SIZE_T total = 0;
        for (const auto& block : heldBlocks) {
            total += block.second;
        }
        return total;
    }
};

// Enough loads of the idle module to see what a load costs the platform.
constexpr int kIdleCycles = 2000;

// Loads and unloads `path` in leak_rounds::kRounds rounds of `cycles` in
// all, each time making the module throw and catch inside a callback when
// `throwing`. False in `loaded` when a load failed.
std::vector<leak_rounds::Round> LoadRounds(const std::wstring& path, int cycles, bool throwing,
                                           bool* loaded) {
    *loaded = true;
    auto cycle = [&] {
        plugin_module::Plugin plugin = plugin_module::Load(path.c_str());
        if (plugin.module == nullptr) {
            return *loaded = false;
        }
        if (throwing && FailConversionsIn(plugin.module)) {
            conversionsFail = true;
            plugin.dragDrop("Alpha", 0, 0, 1);
            conversionsFail = false;
        }
        plugin_module::Unload(plugin);
        fake_host::TheHost().calls.clear();
        return true;
    };
    cycle(); // the runtime's and the heaps' first growth is not a leak
    return leak_rounds::Measure(cycles / leak_rounds::kRounds, cycle);
}

TEST(ModuleCycles, LoadsThatThrowLeaveNothingBehind) {
    SKIP_WITHOUT_RUNTIME_EXTRA("one exception state, no locks");
    plugin_module::KeepSystemLibrariesLoaded();
    ASSERT_TRUE(settings_values::EmptyKey());
    // Every load reads a list of 100 folders and every unload writes it back.
    const std::wstring folders = settings_values::NumberedFolders(L"Folder", 0, 99);
    ASSERT_TRUE(settings_values::SetText(L"VornFolder", folders));
    fake_host::ResetHost();
    ModuleAllocations allocations;
    bool loaded = false;
    LoadRounds(ModulePath(), 3 * leak_rounds::kRounds, true, &loaded); // warm up
    ASSERT_TRUE(loaded);
    SIZE_T heldBefore = ModuleAllocations::Bytes();

    using leak_rounds::Each;
    using leak_rounds::EveryRoundGrew;
    using leak_rounds::Round;
    // 10,000 unless QVVORN_CYCLES says otherwise, in whole rounds.
    const char* cyclesText = std::getenv("QVVORN_CYCLES");
    const int cycles = (cyclesText != nullptr ? std::atoi(cyclesText) : 10000) /
                       leak_rounds::kRounds * leak_rounds::kRounds;
    failedConversions = 0;
    std::vector<Round> module = LoadRounds(ModulePath(), cycles, true, &loaded);
    ASSERT_TRUE(loaded);
    EXPECT_EQ(failedConversions, cycles + 1) << "every cycle must throw inside the module";
    EXPECT_FALSE(EveryRoundGrew(module, &Round::tlsSlots, 0))
        << "thread-local storage slots leaked, each round: " << Each(module, &Round::tlsSlots);
    EXPECT_FALSE(EveryRoundGrew(module, &Round::handles, 0))
        << "handles leaked, each round: " << Each(module, &Round::handles);
    EXPECT_EQ(ModuleAllocations::Bytes(), heldBefore) << "bytes the module allocated and kept";

    std::vector<Round> idle =
        LoadRounds(program_folder::Beside(L"idle_module.dll"), kIdleCycles, false, &loaded);
    ASSERT_TRUE(loaded);
    double growth = leak_rounds::Median(module, &Round::heapBytesPerCycle);
    double idleGrowth = leak_rounds::Median(idle, &Round::heapBytesPerCycle);
    RecordProperty("heap_bytes_per_cycle", std::to_string(growth));
    RecordProperty("idle_module_heap_bytes_per_cycle", std::to_string(idleGrowth));
    std::printf("heap growth per load and unload: module %.2f bytes, idle module %.2f bytes\n",
                growth, idleGrowth);
    EXPECT_FALSE(EveryRoundGrew(module, &Round::heapBytesPerCycle, idleGrowth + 1.0))
        << "the module leaves memory behind at every load, bytes per load in each round: "
        << Each(module, &Round::heapBytesPerCycle) << " (idle module " << idleGrowth << ")";
    EXPECT_EQ(settings_values::Text(L"VornFolder"), folders);
}

} // namespace
