/* Where the EEPROM file is: the EepromFile value of the service's Parameters key, or the
   default name beside the driver image. A relative EepromFile is taken from the driver's folder
   too. Win32 forms (C:\dir\file, \\server\share\file) are turned into NT paths; a path that
   starts with a single backslash is already one (\??\C:\..., \SystemRoot\...). */
#include "emulator/driver/Driver.h"

/* Registry values as read, and the key path of the Parameters subkey. Static: only DriverEntry
   uses them, once. */
#define VYMCNF_VALUE_BUFFER_BYTES \
    (sizeof(KEY_VALUE_PARTIAL_INFORMATION) + VYMCNF_MAX_PATH_CHARS * sizeof(WCHAR))
static ULONGLONG g_parameterValue[VYMCNF_VALUE_BUFFER_BYTES / sizeof(ULONGLONG) + 1];
static ULONGLONG g_imagePathValue[VYMCNF_VALUE_BUFFER_BYTES / sizeof(ULONGLONG) + 1];
static WCHAR g_keyPathBuffer[VYMCNF_MAX_PATH_CHARS];

/* A piece of a wide text that is not necessarily terminated. */
typedef struct WIDE_TEXT {
    const WCHAR* chars;
    USHORT count;
} WIDE_TEXT;

static WIDE_TEXT TextOf(const WCHAR* terminated) {
    WIDE_TEXT text;
    text.chars = terminated;
    text.count = 0;
    while (terminated[text.count] != L'\0') {
        ++text.count;
    }
    return text;
}

static WIDE_TEXT Rest(WIDE_TEXT text, USHORT skip) {
    text.chars += skip;
    text.count = (USHORT)(text.count - skip);
    return text;
}

static BOOLEAN StartsWith(WIDE_TEXT text, const WCHAR* prefix) {
    USHORT i;
    for (i = 0; prefix[i] != L'\0'; ++i) {
        if (i >= text.count || text.chars[i] != prefix[i]) {
            return FALSE;
        }
    }
    return TRUE;
}

/* Appends without ever cutting: a path that does not fit is refused whole. */
static NTSTATUS Append(PUNICODE_STRING path, WIDE_TEXT text) {
    USHORT i;
    ULONG bytes = (ULONG)text.count * sizeof(WCHAR);
    if ((ULONG)path->Length + bytes > path->MaximumLength) {
        return STATUS_NAME_TOO_LONG;
    }
    for (i = 0; i < text.count; ++i) {
        path->Buffer[path->Length / sizeof(WCHAR) + i] = text.chars[i];
    }
    path->Length = (USHORT)(path->Length + bytes);
    return STATUS_SUCCESS;
}

static NTSTATUS Append2(PUNICODE_STRING path, const WCHAR* prefix, WIDE_TEXT text) {
    NTSTATUS status = Append(path, TextOf(prefix));
    return NT_SUCCESS(status) ? Append(path, text) : status;
}

static BOOLEAN IsDriveLetter(WCHAR c) {
    return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z');
}

static BOOLEAN IsAbsolute(WIDE_TEXT text) {
    return (text.count >= 1 && text.chars[0] == L'\\') ||
           (text.count >= 2 && IsDriveLetter(text.chars[0]) && text.chars[1] == L':');
}

/* Appends text in NT form. A relative text is taken from the system folder, as the system
   does for a driver's ImagePath. */
static NTSTATUS AppendNtForm(PUNICODE_STRING path, WIDE_TEXT text) {
    if (StartsWith(text, L"\\\\?\\") || StartsWith(text, L"\\\\.\\")) {
        return Append2(path, L"\\??\\", Rest(text, 4));
    }
    if (StartsWith(text, L"\\\\")) {
        return Append2(path, L"\\??\\UNC\\", Rest(text, 2));
    }
    if (text.count >= 1 && text.chars[0] == L'\\') {
        return Append(path, text);
    }
    if (IsAbsolute(text)) {
        return Append2(path, L"\\??\\", text);
    }
    return Append2(path, L"\\SystemRoot\\", text);
}

/* Reads a string value of the service key (subkey NULL) or of one of its subkeys into
   storage. STATUS_OBJECT_NAME_NOT_FOUND when the key or the value does not exist. */
static NTSTATUS QueryServiceString(PCUNICODE_STRING registryPath, const WCHAR* subkey,
                                   const WCHAR* valueName, ULONGLONG* storage, WIDE_TEXT* text) {
    UNICODE_STRING keyPath;
    UNICODE_STRING name;
    OBJECT_ATTRIBUTES attributes;
    KEY_VALUE_PARTIAL_INFORMATION* value = (KEY_VALUE_PARTIAL_INFORMATION*)storage;
    ULONG resultLength = 0;
    HANDLE key = NULL;
    NTSTATUS status;
    USHORT count;

    keyPath.Buffer = g_keyPathBuffer;
    keyPath.Length = 0;
    keyPath.MaximumLength = sizeof(g_keyPathBuffer);
    status = Append(&keyPath, (WIDE_TEXT){registryPath->Buffer,
                                          (USHORT)(registryPath->Length / sizeof(WCHAR))});
    if (NT_SUCCESS(status) && subkey != NULL) {
        status = Append(&keyPath, TextOf(subkey));
    }
    if (!NT_SUCCESS(status)) {
        return status;
    }

    InitializeObjectAttributes(&attributes, &keyPath, OBJ_CASE_INSENSITIVE | OBJ_KERNEL_HANDLE,
                               NULL, NULL);
    status = ZwOpenKey(&key, KEY_QUERY_VALUE, &attributes);
    if (!NT_SUCCESS(status)) {
        return status;
    }
    RtlInitUnicodeString(&name, valueName);
    status = ZwQueryValueKey(key, &name, KeyValuePartialInformation, value,
                             VYMCNF_VALUE_BUFFER_BYTES, &resultLength);
    ZwClose(key);
    if (status == STATUS_BUFFER_OVERFLOW || status == STATUS_BUFFER_TOO_SMALL) {
        DbgPrint("vymcnf: the %ws value is longer than %u characters\n", valueName,
                 VYMCNF_MAX_PATH_CHARS);
        return STATUS_NAME_TOO_LONG;
    }
    if (!NT_SUCCESS(status)) {
        return status;
    }
    if (value->Type != REG_SZ && value->Type != REG_EXPAND_SZ) {
        DbgPrint("vymcnf: the %ws value is not a string (type %lu)\n", valueName,
                 (unsigned long)value->Type);
        return STATUS_INVALID_PARAMETER;
    }

    /* Registry strings need not be terminated, and may be terminated more than once. */
    count = (USHORT)(value->DataLength / sizeof(WCHAR));
    text->chars = (const WCHAR*)value->Data;
    while (count > 0 && text->chars[count - 1] == L'\0') {
        --count;
    }
    text->count = count;
    return STATUS_SUCCESS;
}

/* The folder of the driver image, in NT form and ending in a backslash. */
static NTSTATUS AppendDriverFolder(PCUNICODE_STRING registryPath, PUNICODE_STRING path) {
    WIDE_TEXT image;
    NTSTATUS status =
        QueryServiceString(registryPath, NULL, L"ImagePath", g_imagePathValue, &image);
    if (status == STATUS_OBJECT_NAME_NOT_FOUND) {
        /* The system loads such a driver from its drivers folder. */
        return Append(path, TextOf(L"\\SystemRoot\\System32\\drivers\\"));
    }
    if (!NT_SUCCESS(status)) {
        return status;
    }
    /* An image path with spaces may stand in quotes. */
    if (image.count > 0 && image.chars[0] == L'"') {
        USHORT end = 0;
        image = Rest(image, 1);
        while (end < image.count && image.chars[end] != L'"') {
            ++end;
        }
        image.count = end;
    }
    status = AppendNtForm(path, image);
    if (!NT_SUCCESS(status)) {
        return status;
    }
    while (path->Length > 0 && path->Buffer[path->Length / sizeof(WCHAR) - 1] != L'\\') {
        path->Length = (USHORT)(path->Length - sizeof(WCHAR));
    }
    if (path->Length == 0) {
        DbgPrint("vymcnf: the driver's ImagePath names no folder\n");
        return STATUS_OBJECT_PATH_NOT_FOUND;
    }
    return STATUS_SUCCESS;
}

NTSTATUS VymCnfResolveEepromPath(PCUNICODE_STRING registryPath, PUNICODE_STRING path) {
    WIDE_TEXT name;
    NTSTATUS status = QueryServiceString(registryPath, L"\\Parameters", VYMCNF_EEPROM_VALUE_NAME,
                                         g_parameterValue, &name);
    if (status == STATUS_OBJECT_NAME_NOT_FOUND) {
        name = TextOf(VYMCNF_DEFAULT_EEPROM_NAME);
    } else if (!NT_SUCCESS(status)) {
        DbgPrint("vymcnf: cannot read Parameters\\%ws (0x%08lX)\n", VYMCNF_EEPROM_VALUE_NAME,
                 (unsigned long)status);
        return status;
    } else if (name.count == 0) {
        DbgPrint("vymcnf: Parameters\\%ws is empty\n", VYMCNF_EEPROM_VALUE_NAME);
        return STATUS_INVALID_PARAMETER;
    } else if (IsAbsolute(name)) {
        status = AppendNtForm(path, name);
        if (status == STATUS_NAME_TOO_LONG) {
            DbgPrint("vymcnf: the EEPROM file's path is too long\n");
        }
        return status;
    }

    status = AppendDriverFolder(registryPath, path);
    if (NT_SUCCESS(status)) {
        status = Append(path, name);
    }
    if (status == STATUS_NAME_TOO_LONG) {
        DbgPrint("vymcnf: the EEPROM file's path is too long\n");
    }
    return status;
}
