// Our host: loads QvVorn.dll the way the mail client does and shows what it
// does to the host's settings in the registry.
#include <windows.h>

#include <cstdio>
#include <string>

#include "fake_host.h"
#include "settings_values.h"

namespace {

void PrintSettings(const char* when) {
    std::printf("%s\n  VornMax    %s\n  VornFolder %s\n", when,
                settings_values::Describe(L"VornMax").c_str(),
                settings_values::Describe(L"VornFolder").c_str());
}

bool LoadAndUnload(const char* dll) {
    HMODULE module = LoadLibraryA(dll);
    if (module == nullptr) {
        std::printf("LoadLibrary(%s) failed: error %lu\n", dll, GetLastError());
        return false;
    }
    PrintSettings("While loaded:");
    FreeLibrary(module);
    return true;
}

} // namespace

int main(int argc, char** argv) {
    const char* dll = argc > 1 ? argv[1] : "QvVorn.dll";
    settings_values::DeleteKey();
    settings_values::CreateKey();
    PrintSettings("First run, the host's settings key is empty:");
    if (!LoadAndUnload(dll)) {
        return 1;
    }
    PrintSettings("After unload (defaults created):");

    // Three folders as another run would have left them.
    settings_values::SetText(L"VornFolder", L"Inbox\\Work*??*Inbox\\Family*??*Archive");
    settings_values::SetDword(L"VornMax", 12);
    PrintSettings("A stored list of three folders:");
    if (!LoadAndUnload(dll)) {
        return 1;
    }
    PrintSettings("After unload (the list survives the round trip):");
    return 0;
}
