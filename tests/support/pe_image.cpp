#include "pe_image.h"

#include <utility>

namespace pe_image {

namespace {

template <typename T> T* At(HMODULE module, DWORD rva) {
    return reinterpret_cast<T*>(reinterpret_cast<BYTE*>(module) + rva);
}

template <typename T> T* Directory(HMODULE module, int entry) {
    auto nt = At<const IMAGE_NT_HEADERS32>(module, At<const IMAGE_DOS_HEADER>(module, 0)->e_lfanew);
    return At<T>(module, nt->OptionalHeader.DataDirectory[entry].VirtualAddress);
}

// Puts `value` into a slot of a read-only table; returns what was there.
template <typename T> T Swap(T* slot, T value) {
    DWORD old = 0;
    VirtualProtect(slot, sizeof *slot, PAGE_READWRITE, &old);
    std::swap(*slot, value);
    VirtualProtect(slot, sizeof *slot, old, &old);
    return value;
}

} // namespace

std::vector<Import> Imports(HMODULE module) {
    std::vector<Import> imports;
    for (auto d = Directory<const IMAGE_IMPORT_DESCRIPTOR>(module, IMAGE_DIRECTORY_ENTRY_IMPORT);
         d->Name != 0; ++d) {
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
    auto exports = Directory<const IMAGE_EXPORT_DIRECTORY>(module, IMAGE_DIRECTORY_ENTRY_EXPORT);
    auto names = At<const DWORD>(module, exports->AddressOfNames);
    auto ordinals = At<const WORD>(module, exports->AddressOfNameOrdinals);
    for (DWORD i = 0; i < exports->NumberOfNames; ++i) {
        if (lstrcmpA(At<const char>(module, names[i]), function) == 0) {
            // An address relative to the module's base; 32-bit sums wrap, so
            // any address is one.
            DWORD offset = static_cast<DWORD>(reinterpret_cast<UINT_PTR>(replacement) -
                                              reinterpret_cast<UINT_PTR>(module));
            offset = Swap(At<DWORD>(module, exports->AddressOfFunctions) + ordinals[i], offset);
            return reinterpret_cast<FARPROC>(At<BYTE>(module, offset));
        }
    }
    return nullptr;
}

} // namespace pe_image
