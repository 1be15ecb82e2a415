/* The entry point of a 32-bit console program (see StartUp.h). */
#include <stdlib.h>

#include "win32/StartUp.h"

typedef struct CStartupInfo {
    int newMode;
} CStartupInfo;

/* msvcrt's: the arguments and environment as main gets them. */
int __cdecl __getmainargs(int* argumentCount, char*** arguments, char*** environment,
                          int expandWildcards, CStartupInfo* startupInfo);
int main(int argumentCount, char** arguments, char** environment);

void mainCRTStartup(void);

void mainCRTStartup(void) {
    int argumentCount = 0;
    char** arguments = NULL;
    char** environment = NULL;
    CStartupInfo startupInfo = {0};

    StartUpRuntime(kConsoleProgram);
    /* No wildcard expansion: an argument is passed as it was typed. */
    if (__getmainargs(&argumentCount, &arguments, &environment, 0, &startupInfo) < 0) {
        exit(255);
    }
    exit(main(argumentCount, arguments, environment));
}
