#pragma once
/* Plain C as well: the console entry is C, the one language that may call main. */

/* The 32-bit programs' own start-up, in place of the toolchain's: that one is compiled for the
   Pentium Pro (its command-line scan uses CMOV on every start), so a program linked with it
   faults at once on a Pentium MMX or a K6-2. ConsoleStartUp.c and WindowsStartUp.cpp are the
   two entry points; this is what both do before the program's main or WinMain runs. */

#ifdef __cplusplus
extern "C" {
#endif

/* What kind of program msvcrt is told it serves. */
enum { kConsoleProgram = 1, kWindowsProgram = 2 };

/* Readies the C runtime: the FPU as the compiler's code expects it, msvcrt told the kind of
   program, and the C and C++ initializers run that the linked objects registered. */
void StartUpRuntime(int programKind);

#ifdef __cplusplus
}
#endif
