/* The requests the device serves: one exclusive open at a time, and the read-byte and
   write-byte controls on the 4-byte buffer. Every request completes before its handler
   returns; nothing is queued or left pending. */
#include "emulator/driver/Driver.h"

_Static_assert(CTL_CODE(VYMCNF_DEVICE_TYPE, VYMCNF_FUNCTION_READ_BYTE, METHOD_BUFFERED,
                        FILE_READ_ACCESS) == IOCTL_CNF_READ_BYTE,
               "the read-byte code follows the CTL_CODE rule");
_Static_assert(CTL_CODE(VYMCNF_DEVICE_TYPE, VYMCNF_FUNCTION_WRITE_BYTE, METHOD_BUFFERED,
                        FILE_WRITE_ACCESS) == IOCTL_CNF_WRITE_BYTE,
               "the write-byte code follows the CTL_CODE rule");

static NTSTATUS Complete(PIRP irp, NTSTATUS status, ULONG_PTR information) {
    irp->IoStatus.Status = status;
    irp->IoStatus.Information = information;
    IoCompleteRequest(irp, IO_NO_INCREMENT);
    return status;
}

static VYMCNF_DEVICE_STATE* StateOf(PDEVICE_OBJECT device) {
    return (VYMCNF_DEVICE_STATE*)device->DeviceExtension;
}

static PFILE_OBJECT FileObjectOf(PIRP irp) {
    PFILE_OBJECT file = IoGetCurrentIrpStackLocation(irp)->FileObject;
    return file != NULL ? file : irp->Tail.Overlay.OriginalFileObject;
}

NTSTATUS NTAPI VymCnfDispatchCreate(PDEVICE_OBJECT device, PIRP irp) {
    PFILE_OBJECT file = FileObjectOf(irp);

    if (file == NULL) {
        return Complete(irp, STATUS_INVALID_PARAMETER, 0);
    }
    /* The device has no namespace below it: \\.\VymCnf\anything names nothing. */
    if (file->FileName.Length != 0) {
        return Complete(irp, STATUS_OBJECT_NAME_NOT_FOUND, 0);
    }
    if (InterlockedCompareExchangePointer(&StateOf(device)->holder, file, NULL) != NULL) {
        return Complete(irp, STATUS_SHARING_VIOLATION, 0);
    }
    return Complete(irp, STATUS_SUCCESS, FILE_OPENED);
}

NTSTATUS NTAPI VymCnfDispatchCleanup(PDEVICE_OBJECT device, PIRP irp) {
    UNREFERENCED_PARAMETER(device);
    return Complete(irp, STATUS_SUCCESS, 0);
}

/* The device is free again once the holder's file object goes away. Only the holder releases
   it: a close of any other file object changes nothing. */
NTSTATUS NTAPI VymCnfDispatchClose(PDEVICE_OBJECT device, PIRP irp) {
    PFILE_OBJECT file = FileObjectOf(irp);
    if (file != NULL) {
        InterlockedCompareExchangePointer(&StateOf(device)->holder, NULL, file);
    }
    return Complete(irp, STATUS_SUCCESS, 0);
}

NTSTATUS NTAPI VymCnfDispatchUnsupported(PDEVICE_OBJECT device, PIRP irp) {
    UNREFERENCED_PARAMETER(device);
    return Complete(irp, STATUS_INVALID_DEVICE_REQUEST, 0);
}

/* The refusals of the card's rule as the kernel says them. */
static NTSTATUS StatusOfVerdict(CNF_REQUEST_VERDICT verdict) {
    switch (verdict) {
        case CNF_REQUEST_SERVED:
            return STATUS_SUCCESS;
        case CNF_REQUEST_UNKNOWN_CODE:
            return STATUS_INVALID_DEVICE_REQUEST;
        case CNF_REQUEST_OUTPUT_TOO_SMALL:
            return STATUS_BUFFER_TOO_SMALL;
        default:
            return STATUS_INVALID_PARAMETER;
    }
}

/* The same 4-byte buffer in and out: the byte read goes to the value position, the reserved
   byte comes back as 0, the address as it was sent. */
static NTSTATUS ReadByte(VYMCNF_DEVICE_STATE* state, PIRP irp, UCHAR* request) {
    UCHAR value = 0;
    NTSTATUS status = VymCnfReadEepromByte(state->eepromFile, CnfRequestAddress(request), &value);
    if (!NT_SUCCESS(status)) {
        return Complete(irp, status, 0);
    }
    request[CNF_REQUEST_VALUE] = value;
    request[CNF_REQUEST_RESERVED] = 0;
    return Complete(irp, STATUS_SUCCESS, CNF_REQUEST_SIZE);
}

static NTSTATUS WriteByte(VYMCNF_DEVICE_STATE* state, PIRP irp, const UCHAR* request) {
    NTSTATUS status = VymCnfWriteEepromByte(state->eepromFile, CnfRequestAddress(request),
                                            request[CNF_REQUEST_VALUE]);
    return Complete(irp, status, 0);
}

NTSTATUS NTAPI VymCnfDispatchDeviceControl(PDEVICE_OBJECT device, PIRP irp) {
    PIO_STACK_LOCATION stack = IoGetCurrentIrpStackLocation(irp);
    ULONG inputLength = stack->Parameters.DeviceIoControl.InputBufferLength;
    ULONG outputLength = stack->Parameters.DeviceIoControl.OutputBufferLength;
    ULONG code = stack->Parameters.DeviceIoControl.IoControlCode;
    UCHAR* request = (UCHAR*)irp->AssociatedIrp.SystemBuffer;
    CNF_REQUEST_VERDICT verdict;

    /* Only the holder is served. Where the system hands out a handle although the open was
       refused (Wine does not wait for the driver's answer to an open), that handle gets
       nothing but the refusal it should have had at the open. */
    if (FileObjectOf(irp) != StateOf(device)->holder) {
        return Complete(irp, STATUS_SHARING_VIOLATION, 0);
    }

    /* A buffered request has one system buffer for both directions. */
    verdict = CnfJudgeRequest(code, request, inputLength, request, outputLength);
    if (verdict != CNF_REQUEST_SERVED) {
        return Complete(irp, StatusOfVerdict(verdict), 0);
    }
    return code == IOCTL_CNF_READ_BYTE ? ReadByte(StateOf(device), irp, request)
                                       : WriteByte(StateOf(device), irp, request);
}
