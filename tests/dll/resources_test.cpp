// The resources of the built QvVorn.dll, read back as another program sees
// them: the settings dialog's template, the version information, the manifest.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "cp932_text.h"

namespace {

constexpr WORD kJapanese = MAKELANGID(LANG_JAPANESE, SUBLANG_JAPANESE_JAPAN); // 0x0411

class ModuleResources : public ::testing::Test {
  protected:
    void SetUp() override {
        module_ = LoadLibraryExA("QvVorn.dll", nullptr, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_NE(module_, nullptr) << GetLastError();
    }
    void TearDown() override { FreeLibrary(module_); }

    // The bytes of resource `name` of `type` in Japanese; empty when missing.
    std::vector<BYTE> Bytes(LPCWSTR type, LPCWSTR name) const {
        HRSRC found = FindResourceExW(module_, type, name, kJapanese);
        if (found == nullptr) {
            return {};
        }
        const BYTE* data = static_cast<const BYTE*>(LockResource(LoadResource(module_, found)));
        return std::vector<BYTE>(data, data + SizeofResource(module_, found));
    }

    HMODULE module_ = nullptr;
};

// Reads a resource's fields in order, as the template format lays them out.
class FieldReader {
  public:
    explicit FieldReader(const std::vector<BYTE>& bytes) : bytes_(bytes) {}

    WORD Word() { return static_cast<WORD>(Take(2)); }
    DWORD Dword() { return Take(4); }
    short Short() { return static_cast<short>(Word()); }
    BYTE Byte() { return static_cast<BYTE>(Take(1)); }
    std::wstring Text() {
        std::wstring text;
        for (WORD unit = Word(); unit != 0 && ok_; unit = Word()) {
            text += static_cast<wchar_t>(unit);
        }
        return text;
    }
    // A class or title: an ordinal after 0xFFFF, else a text. Ordinals read as "#n".
    std::wstring TextOrOrdinal() {
        if (Peek() == 0xFFFF) {
            Word();
            return L"#" + std::to_wstring(Word());
        }
        return Text();
    }
    void AlignTo4() { at_ = (at_ + 3) & ~static_cast<std::size_t>(3); }
    std::size_t at() const { return at_; }
    bool ok() const { return ok_; }

  private:
    WORD Peek() const {
        return at_ + 2 <= bytes_.size() ? static_cast<WORD>(bytes_[at_] | bytes_[at_ + 1] << 8) : 0;
    }
    DWORD Take(std::size_t size) {
        if (at_ + size > bytes_.size()) {
            ok_ = false;
            return 0;
        }
        DWORD value = 0;
        for (std::size_t i = 0; i < size; ++i) {
            value |= static_cast<DWORD>(bytes_[at_ + i]) << (8 * i);
        }
        at_ += size;
        return value;
    }

    const std::vector<BYTE>& bytes_;
    std::size_t at_ = 0;
    bool ok_ = true;
};

struct ExpectedControl {
    DWORD id;
    const wchar_t* windowClass;
    const wchar_t* text;
    short x, y, width, height;
    DWORD style;
};

// As the dialog's description gives it, control by control in tab order.
const ExpectedControl kControls[] = {
    {1007, L"#128", cp932_text::kDialogGroup, 7, 7, 224, 44, 0x50000007},
    {1008, L"#130", cp932_text::kMaxFoldersLabel, 19, 27, 136, 8, 0x50020000},
    {1002, L"#129", L"", 158, 24, 20, 14, 0x50810080},
    {1012, L"msctls_updown32", L"", 178, 24, 9, 14, 0x50020020},
    {1, L"#128", L"OK", 126, 61, 50, 14, 0x50010001},
    {2, L"#128", cp932_text::kCancel, 181, 61, 50, 14, 0x50010000},
};

TEST_F(ModuleResources, SettingsDialogTemplate) {
    std::vector<BYTE> bytes = Bytes(MAKEINTRESOURCEW(5), MAKEINTRESOURCEW(102));
    ASSERT_FALSE(bytes.empty());
    FieldReader read(bytes);
    EXPECT_EQ(read.Word(), 1u);      // extended form
    EXPECT_EQ(read.Word(), 0xFFFFu); // signature
    EXPECT_EQ(read.Dword(), 0u);     // help id
    EXPECT_EQ(read.Dword(), 0x100u); // WS_EX_WINDOWEDGE
    EXPECT_EQ(read.Dword(), 0x80C808C0u);
    ASSERT_EQ(read.Word(), 6u);
    EXPECT_EQ(read.Short(), 0);
    EXPECT_EQ(read.Short(), 0);
    EXPECT_EQ(read.Short(), 238);
    EXPECT_EQ(read.Short(), 83);
    EXPECT_EQ(read.TextOrOrdinal(), L""); // no menu
    EXPECT_EQ(read.TextOrOrdinal(), L""); // standard class
    EXPECT_EQ(read.Text(), cp932_text::kDialogCaption);
    EXPECT_EQ(read.Word(), 9u);   // points
    EXPECT_EQ(read.Word(), 400u); // weight
    EXPECT_EQ(read.Byte(), 0u);   // not italic
    EXPECT_EQ(read.Byte(), 128u); // SHIFTJIS_CHARSET
    EXPECT_EQ(read.Text(), L"MS UI Gothic");

    for (const ExpectedControl& control : kControls) {
        SCOPED_TRACE(control.id);
        read.AlignTo4();
        EXPECT_EQ(read.Dword(), 0u); // help id
        EXPECT_EQ(read.Dword(), 0u); // extended style
        EXPECT_EQ(read.Dword(), control.style);
        EXPECT_EQ(read.Short(), control.x);
        EXPECT_EQ(read.Short(), control.y);
        EXPECT_EQ(read.Short(), control.width);
        EXPECT_EQ(read.Short(), control.height);
        EXPECT_EQ(read.Dword(), control.id);
        EXPECT_EQ(read.TextOrOrdinal(), control.windowClass);
        EXPECT_EQ(read.TextOrOrdinal(), control.text);
        EXPECT_EQ(read.Word(), 0u); // no creation data
    }
    EXPECT_TRUE(read.ok());
    EXPECT_EQ(read.at(), bytes.size());
}

using VerQueryValueProc = BOOL(WINAPI*)(LPCVOID block, LPCWSTR path, LPVOID* value, PUINT size);

TEST_F(ModuleResources, VersionInformation) {
    std::vector<BYTE> block = Bytes(MAKEINTRESOURCEW(16), MAKEINTRESOURCEW(1));
    ASSERT_FALSE(block.empty());
    HMODULE version = LoadLibraryA("version.dll");
    ASSERT_NE(version, nullptr);
    auto query = reinterpret_cast<VerQueryValueProc>(GetProcAddress(version, "VerQueryValueW"));
    ASSERT_NE(query, nullptr);

    void* value = nullptr;
    UINT size = 0;
    ASSERT_TRUE(query(block.data(), L"\\", &value, &size));
    ASSERT_EQ(size, sizeof(VS_FIXEDFILEINFO));
    const VS_FIXEDFILEINFO* fixed = static_cast<const VS_FIXEDFILEINFO*>(value);
    EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00010000u);
    EXPECT_EQ(fixed->dwFileVersionLS, 0u);
    EXPECT_EQ(fixed->dwProductVersionMS, 0x00010000u);
    EXPECT_EQ(fixed->dwProductVersionLS, 0u);
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_DLL));
    EXPECT_EQ(fixed->dwFileFlags & fixed->dwFileFlagsMask, 0u);

    ASSERT_TRUE(query(block.data(), L"\\VarFileInfo\\Translation", &value, &size));
    ASSERT_EQ(size, 4u);
    const WORD* translation = static_cast<const WORD*>(value);
    EXPECT_EQ(translation[0], 0x0411u);
    EXPECT_EQ(translation[1], 1200u);

    const wchar_t* const kName = cp932_text::kPluginName;
    const struct {
        const wchar_t* key;
        const wchar_t* text;
    } strings[] = {
        {L"CompanyName", L"Tolvenar"},        {L"FileDescription", kName},
        {L"FileVersion", L"1, 0, 0, 0"},      {L"InternalName", L"QvVorn"},
        {L"OriginalFilename", L"QvVorn.dll"}, {L"ProductName", kName},
        {L"ProductVersion", L"1, 0, 0, 0"},
    };
    for (const auto& s : strings) {
        SCOPED_TRACE(std::string(s.key, s.key + wcslen(s.key)));
        std::wstring path = std::wstring(L"\\StringFileInfo\\041104b0\\") + s.key;
        ASSERT_TRUE(query(block.data(), path.c_str(), &value, &size));
        EXPECT_EQ(std::wstring(static_cast<const wchar_t*>(value)), s.text);
    }
    FreeLibrary(version);
}

TEST_F(ModuleResources, ManifestIsAnEmptyAssembly) {
    std::vector<BYTE> bytes = Bytes(MAKEINTRESOURCEW(24), MAKEINTRESOURCEW(2));
    ASSERT_FALSE(bytes.empty());
    std::string text(bytes.begin(), bytes.end());
    // Past the XML declaration, one assembly element with nothing inside.
    std::size_t declarationEnd = text.find("?>");
    ASSERT_NE(declarationEnd, std::string::npos);
    EXPECT_EQ(text.compare(0, 5, "<?xml"), 0);
    std::size_t open = text.find("<assembly ", declarationEnd);
    ASSERT_NE(open, std::string::npos);
    EXPECT_EQ(text.find_first_not_of(" \r\n", declarationEnd + 2), open);
    std::size_t openEnd = text.find('>', open);
    ASSERT_NE(openEnd, std::string::npos);
    std::string start = text.substr(open, openEnd + 1 - open);
    EXPECT_NE(start.find("xmlns=\"urn:schemas-microsoft-com:asm.v1\""), std::string::npos);
    EXPECT_NE(start.find("manifestVersion=\"1.0\""), std::string::npos);
    EXPECT_EQ(text.substr(openEnd + 1, 11), "</assembly>");
    EXPECT_EQ(text.find_first_not_of(" \r\n", openEnd + 12), std::string::npos);
    // The only manifest of the module.
    EXPECT_EQ(FindResourceW(module_, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24)), nullptr);
}

} // namespace
