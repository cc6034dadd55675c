#include "pe_image.h"

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

FARPROC PatchImport(HMODULE module, const char* dll, const char* function, FARPROC replacement) {
    const IMAGE_DOS_HEADER* dos = At<const IMAGE_DOS_HEADER>(module, 0);
    const IMAGE_NT_HEADERS32* nt = At<const IMAGE_NT_HEADERS32>(module, dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports =
        nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    for (auto d = At<const IMAGE_IMPORT_DESCRIPTOR>(module, imports.VirtualAddress); d->Name != 0;
         ++d) {
        if (lstrcmpiA(At<const char>(module, d->Name), dll) != 0) {
            continue;
        }
        auto name = At<const IMAGE_THUNK_DATA32>(module, d->OriginalFirstThunk);
        auto slot = At<FARPROC>(module, d->FirstThunk);
        for (; name->u1.AddressOfData != 0; ++name, ++slot) {
            if ((name->u1.Ordinal & IMAGE_ORDINAL_FLAG32) == 0 &&
                std::strcmp(At<const IMAGE_IMPORT_BY_NAME>(module, name->u1.AddressOfData)->Name,
                            function) == 0) {
                return Swap(slot, replacement);
            }
        }
    }
    return nullptr;
}

} // namespace pe_image
