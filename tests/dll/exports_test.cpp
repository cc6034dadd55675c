// The export table of the built QvVorn.dll and the callbacks that do no work,
// through the real DLL loaded into this program, which is the host.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "child_process.h"
#include "fake_host.h"
#include "plugin_module.h"
#include "settings_values.h"

// Calls `function` with `count` 32-bit stack arguments taken from `arguments`
// and stores its result. Returns how far the stack pointer stands from where
// it stood before the arguments were pushed: 0 when the callee removed exactly
// `count` arguments, negative when it removed fewer, positive when more.
extern "C" int MeasureStdcall(FARPROC function, int count, const DWORD* arguments, DWORD* result);
__asm__(".text\n"
        ".globl _MeasureStdcall\n"
        "_MeasureStdcall:\n"
        "    pushl %ebp\n"
        "    movl %esp, %ebp\n"
        "    pushl %ebx\n"
        "    pushl %esi\n"
        "    pushl %edi\n"
        "    movl %esp, %esi\n"     // the stack pointer before the arguments
        "    movl 12(%ebp), %ecx\n" // count
        "    movl 16(%ebp), %edx\n" // arguments
        "1:  testl %ecx, %ecx\n"
        "    jz 2f\n"
        "    decl %ecx\n"
        "    pushl (%edx,%ecx,4)\n" // the last argument first
        "    jmp 1b\n"
        "2:  call *8(%ebp)\n"
        "    movl 20(%ebp), %ecx\n"
        "    movl %eax, (%ecx)\n"
        "    movl %esp, %eax\n"
        "    subl %esi, %eax\n"
        "    movl %esi, %esp\n"
        "    popl %edi\n"
        "    popl %esi\n"
        "    popl %ebx\n"
        "    popl %ebp\n"
        "    ret\n");

namespace {

struct Export {
    WORD ordinal;
    const char* name;
    int arguments;
};

const Export kExports[16] = {
    {1, "QVC_OnStart", 0},          {2, "QVC_OnExit", 0},        {3, "QVC_OnMenuInit", 3},
    {4, "QVC_OnOpenFolder", 1},     {5, "QVC_OnOpenMail", 1},    {6, "QVC_OnEveryMinute", 0},
    {7, "QVC_OnOpenCompose", 2},    {8, "QVC_OnOutgoing", 2},    {9, "QVC_OnKeyDispatch", 3},
    {10, "QVC_OnRetrieve", 2},      {11, "QVC_OnSend", 1},       {12, "QVC_OnFinishRetrieve", 1},
    {13, "QVC_OnPlugInSetup", 1},   {14, "QVC_OnPlugInInfo", 1}, {15, "QVC_OnDragDrop", 4},
    {16, "QVC_OnBeforeFilter2", 4},
};

std::vector<unsigned char> ReadFileBytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::vector<unsigned char>(std::istreambuf_iterator<char>(file),
                                      std::istreambuf_iterator<char>());
}

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
        if (entry.VirtualAddress == 0 || !ReadRva(entry.VirtualAddress, &directory)) {
            return;
        }
        dllName = TextAt(directory.Name);
        ordinalBase = directory.Base;
        functionCount = directory.NumberOfFunctions;
        for (DWORD i = 0; i < directory.NumberOfNames; ++i) {
            DWORD nameRva = 0;
            WORD index = 0;
            ReadRva(directory.AddressOfNames + i * sizeof nameRva, &nameRva);
            ReadRva(directory.AddressOfNameOrdinals + i * sizeof index, &index);
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
    bool FileOffset(DWORD rva, std::size_t* offset) const {
        for (const IMAGE_SECTION_HEADER& s : sections_) {
            DWORD size =
                s.Misc.VirtualSize > s.SizeOfRawData ? s.Misc.VirtualSize : s.SizeOfRawData;
            if (rva >= s.VirtualAddress && rva < s.VirtualAddress + size) {
                *offset = rva - s.VirtualAddress + s.PointerToRawData;
                return true;
            }
        }
        return false;
    }
    template <typename T> bool ReadRva(DWORD rva, T* out) const {
        std::size_t offset = 0;
        return FileOffset(rva, &offset) && Read(offset, out);
    }
    std::string TextAt(DWORD rva) const {
        std::size_t offset = 0;
        std::string text;
        if (FileOffset(rva, &offset)) {
            while (offset < image_.size() && image_[offset] != 0) {
                text += static_cast<char>(image_[offset++]);
            }
        }
        return text;
    }

    std::vector<unsigned char> image_;
    std::vector<IMAGE_SECTION_HEADER> sections_;
};

TEST(Exports, TheFileExportsExactlyTheSixteenCallbacksByOrdinal) {
    ExportDirectory exports(ReadFileBytes(child_process::BesideTestProgram("QvVorn.dll")));
    ASSERT_TRUE(exports.valid);
    EXPECT_EQ(exports.machine, IMAGE_FILE_MACHINE_I386);
    EXPECT_EQ(exports.dllName, "QvVorn.dll");
    EXPECT_EQ(exports.ordinalBase, 1u);
    EXPECT_EQ(exports.functionCount, 16u);
    ASSERT_EQ(exports.names.size(), 16u);
    for (const Export& expected : kExports) {
        SCOPED_TRACE(expected.name);
        int found = 0;
        for (const ExportDirectory::Name& name : exports.names) {
            if (name.text == expected.name) {
                ++found;
                EXPECT_EQ(name.ordinal, expected.ordinal);
            }
        }
        EXPECT_EQ(found, 1);
    }
    for (const ExportDirectory::Name& name : exports.names) {
        EXPECT_EQ(name.text.find('@'), std::string::npos) << name.text;
        EXPECT_EQ(name.text.rfind("QVC_", 0), 0u) << name.text; // no leading underscore
    }
}

class LoadedPlugin : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(settings_values::DeleteKey());
        ASSERT_TRUE(settings_values::CreateKey());
        fake_host::ResetHost();
        plugin = plugin_module::Load("QvVorn.dll");
        ASSERT_NE(plugin.module, nullptr) << GetLastError();
    }
    void TearDown() override { plugin_module::Unload(plugin); }

    plugin_module::Plugin plugin;
};

TEST_F(LoadedPlugin, NamesAndOrdinalsGiveTheSameEntries) {
    for (const Export& e : kExports) {
        SCOPED_TRACE(e.name);
        FARPROC byName = GetProcAddress(plugin.module, e.name);
        EXPECT_NE(byName, nullptr);
        EXPECT_EQ(byName, GetProcAddress(plugin.module, MAKEINTRESOURCEA(e.ordinal)));
    }
    EXPECT_EQ(GetProcAddress(plugin.module, MAKEINTRESOURCEA(17)), nullptr);
    EXPECT_EQ(GetProcAddress(plugin.module, "QVC_OnMenuInit@12"), nullptr);
    EXPECT_EQ(GetProcAddress(plugin.module, "_QVC_OnMenuInit@12"), nullptr);
}

// Each callback removes exactly its arguments from the stack. The calls are
// chosen to do no work: menu type 7, drop kind 0, a record large enough.
TEST_F(LoadedPlugin, EachCallbackRemovesExactlyItsArguments) {
    char record[512] = {};
    const DWORD arguments[16][4] = {
        {},
        {},
        {0, 0, 7},
        {1},
        {1},
        {},
        {1, 2},
        {1, 2},
        {1, 2, 3},
        {1, 2},
        {1},
        {1},
        {1},
        {static_cast<DWORD>(reinterpret_cast<UINT_PTR>(record))},
        {static_cast<DWORD>(reinterpret_cast<UINT_PTR>("Alpha")), 0, 0, 0},
        {1, 2, 3, 4},
    };
    for (int i = 0; i < 16; ++i) {
        SCOPED_TRACE(kExports[i].name);
        FARPROC entry = GetProcAddress(plugin.module, kExports[i].name);
        ASSERT_NE(entry, nullptr);
        DWORD result = 0xFFFFFFFF;
        EXPECT_EQ(MeasureStdcall(entry, kExports[i].arguments, arguments[i], &result), 0);
        EXPECT_EQ(result, 0u);
    }
    EXPECT_TRUE(fake_host::TheHost().commands.empty());
}

// The measure itself: a callee that removes one argument too few is caught.
DWORD WINAPI TakesTwo(DWORD, DWORD) {
    return 0;
}

TEST(MeasureStdcall, SeesAnArgumentLeftOnTheStack) {
    const DWORD arguments[3] = {1, 2, 3};
    DWORD result = 1;
    EXPECT_EQ(MeasureStdcall(reinterpret_cast<FARPROC>(TakesTwo), 2, arguments, &result), 0);
    EXPECT_EQ(MeasureStdcall(reinterpret_cast<FARPROC>(TakesTwo), 3, arguments, &result), -4);
    EXPECT_EQ(MeasureStdcall(reinterpret_cast<FARPROC>(TakesTwo), 1, arguments, &result), 4);
}

} // namespace
