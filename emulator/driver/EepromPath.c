/* Reads the service's EepromFile and ImagePath values and turns them into the EEPROM file's NT
   path by the rules of NtPath.c. */
#include "emulator/driver/Driver.h"
#include "emulator/driver/NtPath.h"

_Static_assert(sizeof(VYMCNF_CHAR) == sizeof(WCHAR), "registry text is UTF-16");

/* Registry values as read, and the key path of the Parameters subkey. Static: only DriverEntry
   uses them, once. */
#define VYMCNF_VALUE_BUFFER_BYTES \
    (sizeof(KEY_VALUE_PARTIAL_INFORMATION) + VYMCNF_MAX_PATH_CHARS * sizeof(WCHAR))
static ULONGLONG g_parameterValue[VYMCNF_VALUE_BUFFER_BYTES / sizeof(ULONGLONG) + 1];
static ULONGLONG g_imagePathValue[VYMCNF_VALUE_BUFFER_BYTES / sizeof(ULONGLONG) + 1];
static WCHAR g_keyPathBuffer[VYMCNF_MAX_PATH_CHARS];

/* Reads a string value of the service key (subkey NULL) or of one of its subkeys into storage.
   A key or value that does not exist is no error: the value is then not present. */
static NTSTATUS QueryServiceString(PCUNICODE_STRING registryPath, const WCHAR* subkey,
                                   const WCHAR* valueName, ULONGLONG* storage,
                                   VYMCNF_VALUE* result) {
    VYMCNF_PATH keyPath = {(VYMCNF_CHAR*)g_keyPathBuffer, 0, VYMCNF_MAX_PATH_CHARS};
    VYMCNF_TEXT service = {(const VYMCNF_CHAR*)registryPath->Buffer,
                           registryPath->Length / sizeof(WCHAR)};
    UNICODE_STRING keyName;
    UNICODE_STRING name;
    OBJECT_ATTRIBUTES attributes;
    KEY_VALUE_PARTIAL_INFORMATION* value = (KEY_VALUE_PARTIAL_INFORMATION*)storage;
    ULONG resultLength = 0;
    HANDLE key = NULL;
    NTSTATUS status;

    result->present = 0;
    result->text.chars = NULL;
    result->text.count = 0;
    if (!VymCnfAppend(&keyPath, service) ||
        (subkey != NULL && !VymCnfAppend(&keyPath, VymCnfTextOf((const VYMCNF_CHAR*)subkey)))) {
        return STATUS_NAME_TOO_LONG;
    }
    keyName.Buffer = g_keyPathBuffer;
    keyName.Length = (USHORT)(keyPath.count * sizeof(WCHAR));
    keyName.MaximumLength = keyName.Length;

    InitializeObjectAttributes(&attributes, &keyName, OBJ_CASE_INSENSITIVE | OBJ_KERNEL_HANDLE,
                               NULL, NULL);
    status = ZwOpenKey(&key, KEY_QUERY_VALUE, &attributes);
    if (status == STATUS_OBJECT_NAME_NOT_FOUND) {
        return STATUS_SUCCESS;
    }
    if (!NT_SUCCESS(status)) {
        return status;
    }
    RtlInitUnicodeString(&name, valueName);
    status = ZwQueryValueKey(key, &name, KeyValuePartialInformation, value,
                             VYMCNF_VALUE_BUFFER_BYTES, &resultLength);
    ZwClose(key);
    if (status == STATUS_OBJECT_NAME_NOT_FOUND) {
        return STATUS_SUCCESS;
    }
    if (status == STATUS_BUFFER_OVERFLOW || status == STATUS_BUFFER_TOO_SMALL) {
        VYMCNF_REPORT_ERROR("vymcnf: the %ws value is longer than %u characters\n", valueName,
                            VYMCNF_MAX_PATH_CHARS);
        return STATUS_NAME_TOO_LONG;
    }
    if (!NT_SUCCESS(status)) {
        return status;
    }
    if (value->Type != REG_SZ && value->Type != REG_EXPAND_SZ) {
        VYMCNF_REPORT_ERROR("vymcnf: the %ws value is not a string (type %lu)\n", valueName,
                            (unsigned long)value->Type);
        return STATUS_INVALID_PARAMETER;
    }
    result->present = 1;
    result->text.chars = (const VYMCNF_CHAR*)value->Data;
    result->text.count = value->DataLength / sizeof(WCHAR);
    return STATUS_SUCCESS;
}

NTSTATUS VymCnfResolveEepromPath(PCUNICODE_STRING registryPath, PUNICODE_STRING path) {
    VYMCNF_VALUE eepromFile;
    VYMCNF_VALUE imagePath;
    VYMCNF_PATH composed = {(VYMCNF_CHAR*)path->Buffer, 0, path->MaximumLength / sizeof(WCHAR)};
    NTSTATUS status = QueryServiceString(registryPath, L"\\Parameters", VYMCNF_EEPROM_VALUE_NAME,
                                         g_parameterValue, &eepromFile);
    if (!NT_SUCCESS(status)) {
        VYMCNF_REPORT_ERROR("vymcnf: cannot read Parameters\\%ws (0x%08lX)\n",
                            VYMCNF_EEPROM_VALUE_NAME, (unsigned long)status);
        return status;
    }
    status = QueryServiceString(registryPath, NULL, L"ImagePath", g_imagePathValue, &imagePath);
    if (!NT_SUCCESS(status)) {
        VYMCNF_REPORT_ERROR("vymcnf: cannot read the service's ImagePath (0x%08lX)\n",
                            (unsigned long)status);
        return status;
    }

    switch (VymCnfComposeEepromPath(&composed, eepromFile, imagePath)) {
        case VYMCNF_PATH_OK:
            path->Length = (USHORT)(composed.count * sizeof(WCHAR));
            return STATUS_SUCCESS;
        case VYMCNF_PATH_EMPTY_VALUE:
            VYMCNF_REPORT_ERROR("vymcnf: Parameters\\%ws is empty\n", VYMCNF_EEPROM_VALUE_NAME);
            return STATUS_INVALID_PARAMETER;
        case VYMCNF_PATH_TOO_LONG:
        default:
            VYMCNF_REPORT_ERROR("vymcnf: the EEPROM file's path is longer than %u characters\n",
                                VYMCNF_MAX_PATH_CHARS);
            return STATUS_NAME_TOO_LONG;
    }
}
