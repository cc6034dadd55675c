// The GNU C++ runtime (libstdc++, libgcc, mingw-w64's start-up code) is
// linked into the module statically, and is fitted to a module here.
//
// The core, in every build: gcc's start-up object would hand the module's
// unwind tables to a shared unwinder DLL whenever the host's process holds
// one, and the module's own unwinder would then find no frame for a throw.
// The core registers them with the module's own unwinder instead, and frees
// the runtime's emergency pool for exceptions at unload. It uses only what
// every gcc release has kept: crtend.o's call of __gcc_register_frame,
// __register_frame_info and __deregister_frame_info, and __freeres.
//
// The extras (QVVORN_RUNTIME_EXTRAS), where cmake/runtime_guard.cmake knows
// the toolchain: as it comes, every load would leave something behind in
// the host's process when it unloads (a thread-local storage slot for the
// exception state, a lock of the unwinder's table of frames), and a host that
// reloads plug-ins would run out of slots after about a thousand loads; a
// verbose terminate handler with a symbol demangler and printf would be a
// third of the module's size. The module starts no threads and the host
// calls it one call at a time, so the runtime can run as a single-threaded
// one: no locks, one exception state. These definitions stand in for
// internals of the runtime and replace its own, which the linker then leaves
// out; the link check (cmake/check_module_link.cmake) proves that each one
// took the place of the runtime's own.
//
// This file's object is linked in the place of gcc's crtbegin.o (see
// cmake/module.cmake), ahead of every other object with unwind tables.
#include "shell/module_runtime.h"

#include <cstdlib>

#if defined(__MINGW32__) && defined(__GLIBCXX__)

// The module's unwind tables are its objects' .eh_frame sections, which the
// linker puts together in link order. This empty item in this object, the
// first after the start-up code's, marks where they begin; gcc's crtend.o,
// linked last, ends them with a zero word.
asm(".section .eh_frame,\"dr\"\n"
    ".balign 4\n"
    "qvvorn_unwind_tables:\n"
    ".text\n");
extern "C" const char moduleUnwindTables[] asm("qvvorn_unwind_tables");

extern "C" {

// The unwinder linked into the module, and its registry of tables.
void __register_frame_info(const void* tables, void* record);
void* __deregister_frame_info(const void* tables);

} // extern "C"

namespace __gnu_cxx {

// libstdc++'s release of its emergency pool.
void __freeres();

} // namespace __gnu_cxx

namespace {

// The registry's record of the module's tables (libgcc's struct object, six
// or seven pointers so far), which it keeps until the tables are taken out.
void* unwindRecord[16];

void DeregisterUnwindTables() {
    __deregister_frame_info(moduleUnwindTables);
}

} // namespace

extern "C" {

// Called by crtend.o's constructor, the first of the module's constructors
// to run. gcc's own version asks for libgcc_s_dw2-1.dll by name and, when the
// process has loaded it, registers the tables there, where the module's own
// unwinder never looks. This one registers them with the module's unwinder,
// whatever the process holds, before any constructor can throw; the exit
// function registered first runs last at unload, after every destructor.
void __gcc_register_frame() {
    __register_frame_info(moduleUnwindTables, unwindRecord);
    std::atexit(DeregisterUnwindTables);
}

} // extern "C"

void ReleaseModuleRuntime() noexcept {
    __gnu_cxx::__freeres();
}

#if defined(QVVORN_RUNTIME_EXTRAS)

#include <windows.h>

#include <cxxabi.h>
#include <ext/concurrence.h> // declares the thread layer's lock functions

extern "C" {

// Tells libgcc and libstdc++ whether threads may run: 0 makes the unwinder,
// the emergency pool and emulated TLS take no locks and make no semaphore.
int _CRT_MT = 0;

// mingw-w64's TLS callback, which would set _CRT_MT to 2 again at every
// load. The module has no thread-local variables, so it needs none.
extern const PIMAGE_TLS_CALLBACK __dyn_tls_init_callback;
const PIMAGE_TLS_CALLBACK __dyn_tls_init_callback = nullptr;

// mingw-w64's start-up code applies runtime pseudo-relocations (data that an
// object imports from another DLL without declaring it so) with this. The
// module has none, and it is linked with --disable-runtime-pseudo-reloc,
// which makes a new one a link error; the original would bring VirtualProtect,
// VirtualQuery and its printf diagnostics for nothing.
void _pei386_runtime_relocator() {}

#if defined(GCC_GTHR_WIN32_H)
// The emergency pool's lock, from libgcc's win32 thread layer, which brings
// thread-local storage, semaphores and critical sections with it. With _CRT_MT at 0 the pool
// never takes the lock; were it to, in a module called one call at a time
// there is nothing to wait for, and 0 says the lock is taken or given back.
void __gthr_win32_mutex_init_function(__gthread_mutex_t*) {}
void __gthr_win32_mutex_destroy(__gthread_mutex_t*) {}
int __gthr_win32_mutex_lock(__gthread_mutex_t*) {
    return 0;
}
int __gthr_win32_mutex_unlock(__gthread_mutex_t*) {
    return 0;
}
#endif

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

} // namespace __gnu_cxx

#endif // QVVORN_RUNTIME_EXTRAS

#else

void ReleaseModuleRuntime() noexcept {}

#endif
