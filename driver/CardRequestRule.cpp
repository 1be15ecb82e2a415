#include "driver/CardRequestRule.h"

#include "text/AsciiCase.h"

DWORD CardNameError(LPCSTR fileName) {
    if (fileName == nullptr) {
        return ERROR_PATH_NOT_FOUND;
    }
    return SameIgnoringAsciiCase(fileName, CNF_DEVICE_PATH) ? ERROR_SUCCESS : ERROR_FILE_NOT_FOUND;
}

DWORD CardFileError(bool regularFile, long long size) {
    return regularFile && size == CNF_EEPROM_SIZE ? ERROR_SUCCESS : ERROR_INVALID_DATA;
}

DWORD CardRequestError(DWORD code, bool canRead, bool canWrite, LPCVOID input, DWORD inputSize,
                       LPCVOID output, DWORD outputSize) {
    const CNF_REQUEST_VERDICT verdict = CnfJudgeRequest(code, input, inputSize, output, outputSize);
    if (verdict == CNF_REQUEST_UNKNOWN_CODE) {
        return ERROR_INVALID_FUNCTION;
    }
    if (!(code == IOCTL_CNF_READ_BYTE ? canRead : canWrite)) {
        return ERROR_ACCESS_DENIED;
    }
    switch (verdict) {
        case CNF_REQUEST_SERVED:
            return ERROR_SUCCESS;
        case CNF_REQUEST_OUTPUT_TOO_SMALL:
            return ERROR_INSUFFICIENT_BUFFER;
        default:
            return ERROR_INVALID_PARAMETER;
    }
}
