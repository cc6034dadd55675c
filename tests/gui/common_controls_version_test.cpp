// Which comctl32 this test program runs on: the side-by-side assembly that
// the loader takes comctl32.dll from, for the plug-in's import and for the
// controls of its settings dialog. The _cc6 programs have a manifest that
// asks for Common Controls 6; the others have none and get the system's 5.x
// (from no assembly at all under Wine). Shared by the gui and window programs.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

namespace {

#ifdef QVVORN_EXPECT_COMCTL6
constexpr bool kExpectComctl6 = true;
#else
constexpr bool kExpectComctl6 = false;
#endif

// The encoded identity of the assembly that comctl32.dll comes from in this
// process (`Microsoft.Windows.Common-Controls,...,version="6.0.2600.2982"`),
// or "none" when no assembly redirects it.
std::string Comctl32Assembly() {
    ACTCTX_SECTION_KEYED_DATA data = {};
    data.cbSize = sizeof data;
    if (!FindActCtxSectionStringW(FIND_ACTCTX_SECTION_KEY_RETURN_HACTCTX, nullptr,
                                  ACTIVATION_CONTEXT_SECTION_DLL_REDIRECTION, L"comctl32.dll",
                                  &data)) {
        return "none";
    }
    std::vector<char> buffer(8192);
    SIZE_T needed = 0;
    BOOL read = QueryActCtxW(0, data.hActCtx, &data.ulAssemblyRosterIndex,
                             AssemblyDetailedInformationInActivationContext, buffer.data(),
                             buffer.size(), &needed);
    ReleaseActCtx(data.hActCtx);
    if (!read) {
        return "unreadable (QueryActCtxW failed, error " + std::to_string(GetLastError()) + ")";
    }
    const auto& info =
        *reinterpret_cast<const ACTIVATION_CONTEXT_ASSEMBLY_DETAILED_INFORMATION*>(buffer.data());
    std::wstring identity(info.lpAssemblyEncodedAssemblyIdentity,
                          info.ulEncodedAssemblyIdentityLength / sizeof(wchar_t));
    return std::string(identity.begin(), identity.end()); // the identity is ASCII
}

TEST(CommonControls, Comctl32ComesFromTheAssemblyTheManifestAsksFor) {
    std::string assembly = Comctl32Assembly();
    bool comctl6 = assembly.find("Microsoft.Windows.Common-Controls,") == 0 &&
                   assembly.find("version=\"6.") != std::string::npos;
    EXPECT_EQ(comctl6, kExpectComctl6)
        << "the test build: this program's manifest does not give the comctl32 it was built for; "
           "comctl32.dll comes from "
        << assembly;
}

} // namespace
