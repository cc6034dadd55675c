// A PE module seen from outside: the export directory of its file, and the
// imports of a loaded module, whose table a test can point elsewhere.
#pragma once

#include <windows.h>

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

namespace pe_image {

// The names and ordinals of a PE file's export directory, read from the file.
class ExportDirectory {
  public:
    explicit ExportDirectory(std::vector<unsigned char> image) : image_(std::move(image)) {
        IMAGE_DOS_HEADER dos;
        if (!Read(0, &dos) || dos.e_magic != IMAGE_DOS_SIGNATURE) {
            return;
        }
        IMAGE_NT_HEADERS32 nt;
        if (!Read(static_cast<std::size_t>(dos.e_lfanew), &nt) ||
            nt.Signature != IMAGE_NT_SIGNATURE ||
            nt.OptionalHeader.Magic != IMAGE_NT_OPTIONAL_HDR32_MAGIC) {
            return;
        }
        machine = nt.FileHeader.Machine;
        subsystem = nt.OptionalHeader.Subsystem;
        std::size_t sections = static_cast<std::size_t>(dos.e_lfanew) +
                               offsetof(IMAGE_NT_HEADERS32, OptionalHeader) +
                               nt.FileHeader.SizeOfOptionalHeader;
        for (WORD i = 0; i < nt.FileHeader.NumberOfSections; ++i) {
            IMAGE_SECTION_HEADER section;
            if (Read(sections + i * sizeof section, &section)) {
                sections_.push_back(section);
            }
        }
        const IMAGE_DATA_DIRECTORY& entry =
            nt.OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
        IMAGE_EXPORT_DIRECTORY directory;
        if (entry.VirtualAddress == 0 || !Read(FileOffset(entry.VirtualAddress), &directory)) {
            return;
        }
        dllName = TextAt(directory.Name);
        ordinalBase = directory.Base;
        functionCount = directory.NumberOfFunctions;
        for (DWORD i = 0; i < directory.NumberOfNames; ++i) {
            DWORD nameRva = 0;
            WORD index = 0;
            Read(FileOffset(directory.AddressOfNames + i * sizeof nameRva), &nameRva);
            Read(FileOffset(directory.AddressOfNameOrdinals + i * sizeof index), &index);
            names.push_back({TextAt(nameRva), static_cast<DWORD>(index + directory.Base)});
        }
        valid = true;
    }

    struct Name {
        std::string text;
        DWORD ordinal;
    };
    bool valid = false;
    WORD machine = 0;
    WORD subsystem = 0; // IMAGE_SUBSYSTEM_WINDOWS_GUI or _CUI for a program
    std::string dllName;
    DWORD ordinalBase = 0;
    DWORD functionCount = 0;
    std::vector<Name> names;

  private:
    template <typename T> bool Read(std::size_t offset, T* out) const {
        if (offset > image_.size() || image_.size() - offset < sizeof(T)) {
            return false;
        }
        std::memcpy(out, image_.data() + offset, sizeof(T));
        return true;
    }
    // The file offset of `rva`; past the end when no section holds it.
    std::size_t FileOffset(DWORD rva) const {
        for (const IMAGE_SECTION_HEADER& s : sections_) {
            DWORD size =
                s.Misc.VirtualSize > s.SizeOfRawData ? s.Misc.VirtualSize : s.SizeOfRawData;
            if (rva >= s.VirtualAddress && rva < s.VirtualAddress + size) {
                return rva - s.VirtualAddress + s.PointerToRawData;
            }
        }
        return image_.size();
    }
    std::string TextAt(DWORD rva) const {
        auto start = image_.begin() + std::min(FileOffset(rva), image_.size());
        return std::string(start, std::find(start, image_.end(), 0));
    }

    std::vector<unsigned char> image_;
    std::vector<IMAGE_SECTION_HEADER> sections_;
};

// A function that a loaded module imports by name, and the slot of its
// import address table that holds its address.
struct Import {
    std::string dll;
    std::string function;
    FARPROC* slot;
};

// Every function the loaded `module` imports by name, in table order.
std::vector<Import> Imports(HMODULE module);

// Points the loaded `module`'s import of `function` from `dll` (matched
// without regard to case) at `replacement`; returns what it pointed at
// before, or null when the module imports no such function by name.
FARPROC PatchImport(HMODULE module, const char* dll, const char* function, FARPROC replacement);
// Points `module`'s export of `function` at `replacement`, so that modules
// loaded from now on import that instead; returns what it was.
FARPROC PatchExport(HMODULE module, const char* function, FARPROC replacement);

} // namespace pe_image
