// Binding of the host function table: resolves the host's QVA_ functions by
// name from the host's executable and decides whether the host is acceptable.
#pragma once

#include <windows.h>

// Where binding finds the host: the executable's module handle and a lookup by
// name. The platform's own are GetModuleHandleA (asked with a null name) and
// GetProcAddress; tests hand in hosts that lack names.
struct HostResolver {
    HMODULE(WINAPI* executableModule)(LPCSTR moduleName);
    FARPROC(WINAPI* lookup)(HMODULE module, LPCSTR name);
};

// 1 when `hostApi` is bound, 0 when it is not. Once bound, a call returns 1
// at once without any lookup. Refused: a host without a module handle (nothing
// is looked up), a host that lacks one of the 54 required names (the fields
// looked up so far keep their addresses, the missing one holds null, the later
// ones are untouched), and a host that is not older than 2.00.06 and lacks
// QVA_SetStatus. A refusal leaves `hostApi.hostModule` null.
int BindHostApiWith(const HostResolver& resolver) noexcept;

// BindHostApiWith the platform's GetModuleHandleA and GetProcAddress.
int BindHostApi() noexcept;
