#pragma once
/* Plain C as well: the start-up's entry points use it. */

#ifdef __cplusplus
extern "C" {
#endif

/* The part of a command line after the program's name, as WinMain gets it: the name ends at
   the first blank outside double quotes, and the blanks after it are skipped. */
const char* CommandLineAfterProgramName(const char* commandLine);

#ifdef __cplusplus
}
#endif
