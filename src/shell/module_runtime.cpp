// The GNU C++ runtime (libstdc++, libgcc, mingw-w64's start-up code) is
// linked into the module statically. As it comes, every load of the module
// would leave something behind in the host's process when it unloads: a
// thread-local storage slot (taken for the exception state at the first
// throw), a semaphore handle (the lock of the unwinder's table of frames,
// made when the module's frames are registered) and the runtime's 20 KB
// emergency pool for exceptions; a host that reloads plug-ins would run out
// of slots after about a thousand loads. It would also bring a verbose
// terminate handler with a symbol demangler and printf, a third of the
// module's size.
//
// The module starts no threads and the host calls it one call at a time, so
// the runtime can run as a single-threaded one: no locks, one exception state.
// The definitions below replace the runtime's own; the linker then leaves the
// originals out. Each is checked by the load-and-unload cycle test.
#include "shell/module_runtime.h"

#include <cstdlib>

#if defined(__MINGW32__) && defined(__GLIBCXX__)

#include <windows.h>

#include <cxxabi.h>

extern "C" {

// Tells libgcc and libstdc++ whether threads may run: 0 makes the unwinder,
// the emergency pool and emulated TLS take no locks and make no semaphore.
int _CRT_MT = 0;

// mingw-w64's TLS callback, which would set _CRT_MT to 2 again at every
// load. The module has no thread-local variables, so it needs none.
extern const PIMAGE_TLS_CALLBACK __dyn_tls_init_callback;
const PIMAGE_TLS_CALLBACK __dyn_tls_init_callback = nullptr;

} // extern "C"

// The state of the exceptions being thrown and caught, which the runtime
// keeps per thread in emulated TLS. Calls come one at a time and no exception
// leaves a call, so one state for the module is enough, and it takes no slot.
namespace __cxxabiv1 {

struct __cxa_eh_globals {
    void* caughtExceptions;
    unsigned int uncaughtExceptions;
};

namespace {

__cxa_eh_globals moduleExceptionState;

} // namespace

extern "C" __cxa_eh_globals* __cxa_get_globals() noexcept {
    return &moduleExceptionState;
}

extern "C" __cxa_eh_globals* __cxa_get_globals_fast() noexcept {
    return &moduleExceptionState;
}

} // namespace __cxxabiv1

namespace __gnu_cxx {

// The default terminate handler. Nothing can be printed inside a host's
// process, so it ends it as std::abort does, without the demangler.
void __verbose_terminate_handler() {
    std::abort();
}

// libstdc++'s release of its emergency pool.
void __freeres();

} // namespace __gnu_cxx

void ReleaseModuleRuntime() noexcept {
    __gnu_cxx::__freeres();
}

#else

void ReleaseModuleRuntime() noexcept {}

#endif
