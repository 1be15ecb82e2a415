/* What the pieces of the emulated card driver share: its device's state and the operations
   each file provides to the others. */
#ifndef VYMCNF_DRIVER_H
#define VYMCNF_DRIVER_H

#include <ntddk.h>

#include "protocol/CnfProtocol.h"
#include "protocol/CnfRequestRule.h"

/* The value of the service's Parameters key that names the EEPROM file (NtPath.h tells where
   the file is when it does not). */
#define VYMCNF_EEPROM_VALUE_NAME L"EepromFile"

/* Longest NT path of the EEPROM file we accept, in characters; a longer one fails the start
   with STATUS_NAME_TOO_LONG rather than being cut. */
#define VYMCNF_MAX_PATH_CHARS 1024

/* Why the driver did not start goes out at error level, which Windows shows without any change
   to its debug print filter; the one line on a good start is information only. The 32-bit
   driver also runs on Windows 2000, whose kernel has no DbgPrintEx (XP brought it): there both
   go out through DbgPrint, which 2000 shows as it is. */
#if defined(_X86_)
#define VYMCNF_REPORT_ERROR(...) DbgPrint(__VA_ARGS__)
#define VYMCNF_REPORT_INFO(...) DbgPrint(__VA_ARGS__)
#else
#define VYMCNF_REPORT_ERROR(...) DbgPrintEx(DPFLTR_IHVDRIVER_ID, DPFLTR_ERROR_LEVEL, __VA_ARGS__)
#define VYMCNF_REPORT_INFO(...) DbgPrintEx(DPFLTR_IHVDRIVER_ID, DPFLTR_INFO_LEVEL, __VA_ARGS__)
#endif

/* A counted string for "%.*ws", which every kernel we run on understands. */
#define VYMCNF_PRINTABLE(text) (int)((text)->Length / sizeof(WCHAR)), (text)->Buffer

typedef struct VYMCNF_DEVICE_STATE {
    /* Kernel handle of the 2048-byte EEPROM file, open for reading and writing for the
       driver's whole life. */
    HANDLE eepromFile;
    /* The file object of the one open of the device, NULL while nobody holds it. The program
       asks for exclusive use; a second open is refused until the holder closes. */
    PVOID volatile holder;
} VYMCNF_DEVICE_STATE;

/* EepromPath.c: the NT path of the EEPROM file for the service whose key is registryPath,
   written into path (whose buffer the caller provides). */
NTSTATUS VymCnfResolveEepromPath(PCUNICODE_STRING registryPath, PUNICODE_STRING path);

/* EepromFile.c: opening the file and moving single bytes. */
NTSTATUS VymCnfOpenEepromFile(PCUNICODE_STRING path, HANDLE* file);
NTSTATUS VymCnfReadEepromByte(HANDLE file, ULONG address, UCHAR* value);
NTSTATUS VymCnfWriteEepromByte(HANDLE file, ULONG address, UCHAR value);

/* Dispatch.c: the request handlers DriverEntry installs. */
DRIVER_DISPATCH VymCnfDispatchCreate;
DRIVER_DISPATCH VymCnfDispatchClose;
DRIVER_DISPATCH VymCnfDispatchCleanup;
DRIVER_DISPATCH VymCnfDispatchDeviceControl;
DRIVER_DISPATCH VymCnfDispatchUnsupported;

#endif
