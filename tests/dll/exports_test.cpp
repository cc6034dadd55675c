// The export table of the built QvVorn.dll and the callbacks that do no work,
// through the real DLL loaded into this program, which is the host.
#include <gtest/gtest.h>

#include <windows.h>

#include "module_exports.h"
#include "fake_host.h"
#include "fresh_start.h"

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

using LoadedPlugin = fresh_start::PluginTest;

TEST_F(LoadedPlugin, NamesAndOrdinalsGiveTheSameEntries) {
    for (const module_exports::Export& e : module_exports::kExports) {
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
        SCOPED_TRACE(module_exports::kExports[i].name);
        FARPROC entry = GetProcAddress(plugin.module, module_exports::kExports[i].name);
        ASSERT_NE(entry, nullptr);
        DWORD result = 0xFFFFFFFF;
        EXPECT_EQ(
            MeasureStdcall(entry, module_exports::kExports[i].arguments, arguments[i], &result), 0);
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
