/* The emulated EEPROM: a 2048-byte file, one byte moved per request. Writes are on the disk
   before the request completes, as a real EEPROM cell keeps a byte once its write cycle is
   over: the file is opened write-through, which holds every write until the file system has
   stored it. That needs nothing a Windows 2000 or XP kernel lacks: ZwFlushBuffersFile, the
   other way to get there, is documented for kernels from Vista on. */
#include "emulator/driver/Driver.h"

NTSTATUS VymCnfOpenEepromFile(PCUNICODE_STRING path, HANDLE* file) {
    OBJECT_ATTRIBUTES attributes;
    IO_STATUS_BLOCK ioStatus;
    FILE_STANDARD_INFORMATION standard;
    HANDLE handle = NULL;
    NTSTATUS status;

    InitializeObjectAttributes(&attributes, (PUNICODE_STRING)path,
                               OBJ_CASE_INSENSITIVE | OBJ_KERNEL_HANDLE, NULL, NULL);
    /* Others may read the file (to look at the card's bytes) but nobody else may change it
       while the driver serves it. Write-through: a write returns once its byte is stored. */
    status = ZwCreateFile(
        &handle, GENERIC_READ | GENERIC_WRITE | SYNCHRONIZE, &attributes, &ioStatus, NULL,
        FILE_ATTRIBUTE_NORMAL, FILE_SHARE_READ, FILE_OPEN,
        FILE_NON_DIRECTORY_FILE | FILE_SYNCHRONOUS_IO_NONALERT | FILE_WRITE_THROUGH, NULL, 0);
    if (!NT_SUCCESS(status)) {
        VYMCNF_REPORT_ERROR("vymcnf: cannot open the EEPROM file %.*ws (0x%08lX)\n",
                            VYMCNF_PRINTABLE(path), (unsigned long)status);
        return status;
    }

    status = ZwQueryInformationFile(handle, &ioStatus, &standard, sizeof(standard),
                                    FileStandardInformation);
    if (!NT_SUCCESS(status)) {
        VYMCNF_REPORT_ERROR("vymcnf: cannot query the size of %.*ws (0x%08lX)\n",
                            VYMCNF_PRINTABLE(path), (unsigned long)status);
        ZwClose(handle);
        return status;
    }
    if (standard.EndOfFile.QuadPart != CNF_EEPROM_SIZE) {
        VYMCNF_REPORT_ERROR("vymcnf: the EEPROM file %.*ws holds %I64d bytes, not %u\n",
                            VYMCNF_PRINTABLE(path), standard.EndOfFile.QuadPart, CNF_EEPROM_SIZE);
        ZwClose(handle);
        return STATUS_FILE_INVALID;
    }

    *file = handle;
    return STATUS_SUCCESS;
}

NTSTATUS VymCnfReadEepromByte(HANDLE file, ULONG address, UCHAR* value) {
    IO_STATUS_BLOCK ioStatus;
    LARGE_INTEGER offset;
    UCHAR byte = 0;
    NTSTATUS status;

    offset.QuadPart = address;
    status = ZwReadFile(file, NULL, NULL, NULL, &ioStatus, &byte, 1, &offset, NULL);
    if (!NT_SUCCESS(status)) {
        return status;
    }
    /* The file was 2048 bytes when the driver started and nobody else may write it, but a
       short read must still never hand back a byte we did not read. */
    if (ioStatus.Information != 1) {
        return STATUS_END_OF_FILE;
    }
    *value = byte;
    return STATUS_SUCCESS;
}

NTSTATUS VymCnfWriteEepromByte(HANDLE file, ULONG address, UCHAR value) {
    IO_STATUS_BLOCK ioStatus;
    LARGE_INTEGER offset;
    UCHAR byte = value;
    NTSTATUS status;

    offset.QuadPart = address;
    status = ZwWriteFile(file, NULL, NULL, NULL, &ioStatus, &byte, 1, &offset, NULL);
    if (!NT_SUCCESS(status)) {
        return status;
    }
    if (ioStatus.Information != 1) {
        return STATUS_UNEXPECTED_IO_ERROR;
    }
    return STATUS_SUCCESS;
}
