#include "win32/StartUp.h"

#include <cstdlib>

extern "C" {
using InitializerFunction = void(__cdecl*)();

// msvcrt's own start-up services; no header of the toolchain declares them.
void __cdecl __set_app_type(int programKind);
void __cdecl _initterm(InitializerFunction* first, InitializerFunction* end);
// The compiler's C++ constructors, run once however often it is called.
void __main();
using ExitFunction = int(__cdecl*)();
ExitFunction __cdecl _onexit(ExitFunction function);

// The bounds of the initializer lists that objects register in .CRT$XI (C) and .CRT$XC (C++),
// from the toolchain's cinitexe.o.
extern InitializerFunction __xi_a[];
extern InitializerFunction __xi_z[];
extern InitializerFunction __xc_a[];
extern InitializerFunction __xc_z[];
}

// The toolchain's start-up also brings atexit (its msvcrt import library has none to call):
// msvcrt's _onexit keeps the list that exit runs, last registered first.
extern "C" int atexit(void (*function)()) {
    return _onexit(reinterpret_cast<ExitFunction>(function)) != nullptr ? 0 : -1;
}

void StartUpRuntime(int programKind) {
    // The compiler's code assumes the FPU's power-on state (64-bit precision, all exceptions
    // masked), which the toolchain's start-up also sets.
    __asm__ volatile("fninit");
    __set_app_type(programKind);
    _initterm(__xi_a, __xi_z);
    _initterm(__xc_a, __xc_z);
    __main();
}
