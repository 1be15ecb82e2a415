/* Loading and unloading the emulated card driver: it opens the EEPROM file first, so a
   missing or unusable file stops the start before any device exists, then creates
   \Device\VymCnf and the \DosDevices\VymCnf link the program opens. */
#include "emulator/driver/Driver.h"

DRIVER_INITIALIZE DriverEntry;
static DRIVER_UNLOAD VymCnfUnload;

/* Only needed while DriverEntry runs; static so the kernel stack stays small. */
static WCHAR g_eepromPathBuffer[VYMCNF_MAX_PATH_CHARS];

static void InstallHandlers(PDRIVER_OBJECT driver) {
    ULONG major;
    for (major = 0; major <= IRP_MJ_MAXIMUM_FUNCTION; ++major) {
        driver->MajorFunction[major] = VymCnfDispatchUnsupported;
    }
    driver->MajorFunction[IRP_MJ_CREATE] = VymCnfDispatchCreate;
    driver->MajorFunction[IRP_MJ_CLEANUP] = VymCnfDispatchCleanup;
    driver->MajorFunction[IRP_MJ_CLOSE] = VymCnfDispatchClose;
    driver->MajorFunction[IRP_MJ_DEVICE_CONTROL] = VymCnfDispatchDeviceControl;
    driver->DriverUnload = VymCnfUnload;
}

NTSTATUS NTAPI DriverEntry(PDRIVER_OBJECT driver, PUNICODE_STRING registryPath) {
    UNICODE_STRING eepromPath;
    UNICODE_STRING deviceName;
    UNICODE_STRING linkName;
    PDEVICE_OBJECT device = NULL;
    VYMCNF_DEVICE_STATE* state;
    HANDLE eepromFile = NULL;
    NTSTATUS status;

    InstallHandlers(driver);
    eepromPath.Buffer = g_eepromPathBuffer;
    eepromPath.Length = 0;
    eepromPath.MaximumLength = sizeof(g_eepromPathBuffer);
    status = VymCnfResolveEepromPath(registryPath, &eepromPath);
    if (!NT_SUCCESS(status)) {
        return status;
    }
    status = VymCnfOpenEepromFile(&eepromPath, &eepromFile);
    if (!NT_SUCCESS(status)) {
        return status;
    }

    RtlInitUnicodeString(&deviceName, CNF_KERNEL_DEVICE_NAME);
    status = IoCreateDevice(driver, sizeof(VYMCNF_DEVICE_STATE), &deviceName, VYMCNF_DEVICE_TYPE,
                            FILE_DEVICE_SECURE_OPEN, FALSE, &device);
    if (!NT_SUCCESS(status)) {
        VYMCNF_REPORT_ERROR("vymcnf: cannot create %.*ws (0x%08lX)\n",
                            VYMCNF_PRINTABLE(&deviceName), (unsigned long)status);
        ZwClose(eepromFile);
        return status;
    }
    state = (VYMCNF_DEVICE_STATE*)device->DeviceExtension;
    state->eepromFile = eepromFile;
    state->holder = NULL;

    RtlInitUnicodeString(&linkName, CNF_KERNEL_LINK_NAME);
    status = IoCreateSymbolicLink(&linkName, &deviceName);
    if (!NT_SUCCESS(status)) {
        VYMCNF_REPORT_ERROR("vymcnf: cannot create %.*ws (0x%08lX)\n", VYMCNF_PRINTABLE(&linkName),
                            (unsigned long)status);
        IoDeleteDevice(device);
        ZwClose(eepromFile);
        return status;
    }

    device->Flags &= ~DO_DEVICE_INITIALIZING;
    VYMCNF_REPORT_INFO("vymcnf: serving %.*ws from %.*ws\n", VYMCNF_PRINTABLE(&linkName),
                       VYMCNF_PRINTABLE(&eepromPath));
    return STATUS_SUCCESS;
}

static void NTAPI VymCnfUnload(PDRIVER_OBJECT driver) {
    UNICODE_STRING linkName;
    PDEVICE_OBJECT device = driver->DeviceObject;

    RtlInitUnicodeString(&linkName, CNF_KERNEL_LINK_NAME);
    IoDeleteSymbolicLink(&linkName);
    if (device != NULL) {
        VYMCNF_DEVICE_STATE* state = (VYMCNF_DEVICE_STATE*)device->DeviceExtension;
        if (state->eepromFile != NULL) {
            ZwClose(state->eepromFile);
            state->eepromFile = NULL;
        }
        IoDeleteDevice(device);
    }
}
