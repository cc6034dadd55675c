#include "pe_image.h"

#include <utility>

namespace pe_image {

namespace {

template <typename T> T* At(HMODULE module, DWORD rva) {
    return reinterpret_cast<T*>(reinterpret_cast<BYTE*>(module) + rva);
}

FARPROC Swap(FARPROC* slot, FARPROC replacement) {
    DWORD old = 0;
    VirtualProtect(slot, sizeof *slot, PAGE_READWRITE, &old);
    FARPROC before = *slot;
    *slot = replacement;
    VirtualProtect(slot, sizeof *slot, old, &old);
    return before;
}

} // namespace

std::vector<Import> Imports(HMODULE module) {
    const IMAGE_DOS_HEADER* dos = At<const IMAGE_DOS_HEADER>(module, 0);
    const IMAGE_NT_HEADERS32* nt = At<const IMAGE_NT_HEADERS32>(module, dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& directory =
        nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    std::vector<Import> imports;
    for (auto d = At<const IMAGE_IMPORT_DESCRIPTOR>(module, directory.VirtualAddress); d->Name != 0;
         ++d) {
        auto name = At<const IMAGE_THUNK_DATA32>(module, d->OriginalFirstThunk);
        auto slot = At<FARPROC>(module, d->FirstThunk);
        for (; name->u1.AddressOfData != 0; ++name, ++slot) {
            if ((name->u1.Ordinal & IMAGE_ORDINAL_FLAG32) == 0) {
                imports.push_back(
                    {At<const char>(module, d->Name),
                     At<const IMAGE_IMPORT_BY_NAME>(module, name->u1.AddressOfData)->Name, slot});
            }
        }
    }
    return imports;
}

FARPROC PatchImport(HMODULE module, const char* dll, const char* function, FARPROC replacement) {
    for (const Import& import : Imports(module)) {
        if (lstrcmpiA(import.dll.c_str(), dll) == 0 && import.function == function) {
            return Swap(import.slot, replacement);
        }
    }
    return nullptr;
}

FARPROC PatchExport(HMODULE module, const char* function, FARPROC replacement) {
    const IMAGE_DOS_HEADER* dos = At<const IMAGE_DOS_HEADER>(module, 0);
    const IMAGE_NT_HEADERS32* nt = At<const IMAGE_NT_HEADERS32>(module, dos->e_lfanew);
    auto exports = At<const IMAGE_EXPORT_DIRECTORY>(
        module, nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT].VirtualAddress);
    auto names = At<const DWORD>(module, exports->AddressOfNames);
    auto ordinals = At<const WORD>(module, exports->AddressOfNameOrdinals);
    for (DWORD i = 0; i < exports->NumberOfNames; ++i) {
        if (lstrcmpA(At<const char>(module, names[i]), function) == 0) {
            DWORD* slot = At<DWORD>(module, exports->AddressOfFunctions) + ordinals[i];
            // An address relative to the module's base; 32-bit sums wrap, so
            // any address is one.
            DWORD offset = static_cast<DWORD>(reinterpret_cast<UINT_PTR>(replacement) -
                                              reinterpret_cast<UINT_PTR>(module));
            DWORD old = 0;
            VirtualProtect(slot, sizeof *slot, PAGE_READWRITE, &old);
            std::swap(*slot, offset);
            VirtualProtect(slot, sizeof *slot, old, &old);
            return reinterpret_cast<FARPROC>(At<BYTE>(module, offset));
        }
    }
    return nullptr;
}

} // namespace pe_image
