# Cross build for 32-bit Windows with Debian's mingw-w64 (win32 thread model): the programs for
# the machines that hold the card, Windows 98 SE, ME, 2000 and XP.
#
# The win32 thread model matters: the posix one brings winpthreads, whose imports
# (AddVectoredExceptionHandler, GetTickCount64, TryEnterCriticalSection) 98 SE does not have.
set(CMAKE_SYSTEM_PROCESSOR x86)
set(VYM_MINGW_PREFIX i686-w64-mingw32)
set(VYM_MINGW_THREADS win32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)

# The oldest CPUs in boards with ISA slots are the Pentium MMX and the K6-2: no CMOV, no FCOMI,
# no SSE. Our own code is compiled for the plain Pentium. The runtime's libraries are compiled
# for the Pentium Pro, so the C++ code leaves out what would pull their exception, RTTI and
# thread-safe-static pieces in (the program throws and catches nothing, and runs on one
# thread); win32/Windows98Runtime.cpp gives the few runtime functions that remain.
set(CMAKE_C_FLAGS_INIT "-march=i586 -mtune=generic")
set(CMAKE_CXX_FLAGS_INIT "-march=i586 -mtune=generic -fno-exceptions -fno-rtti -fno-threadsafe-statics")

# Windows 95, 98 and ME refuse an image whose OS or subsystem version is above 4.0; pin both so a
# newer linker's default can never raise them. Statically linked and stripped: every program
# runs from a bare folder (or a floppy) with nothing of the compiler's beside it. The linker's
# map (X.exe.map beside X.exe) keeps the names the stripped image no longer has, for the
# checks that tell which function holds an instruction.
set(_vym_image_flags
    "-Wl,--major-os-version,4 -Wl,--minor-os-version,0 -Wl,--major-subsystem-version,4 -Wl,--minor-subsystem-version,0 -s -Wl,-Map=%.map")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++ ${_vym_image_flags}")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "${_vym_image_flags}")
