#include "driver/SystemErrorTexts.h"

namespace {

struct CSystemErrorText {
    DWORD code;
    const char* text;
};

// Word for word what an English Windows says for each code, line ending included, so a user
// of the emulated card reads the same message as a user of the real driver.
constexpr CSystemErrorText kTexts[] = {
    {ERROR_INVALID_FUNCTION, "Incorrect function.\r\n"},
    {ERROR_FILE_NOT_FOUND, "The system cannot find the file specified.\r\n"},
    {ERROR_PATH_NOT_FOUND, "The system cannot find the path specified.\r\n"},
    {ERROR_TOO_MANY_OPEN_FILES, "The system cannot open the file.\r\n"},
    {ERROR_ACCESS_DENIED, "Access is denied.\r\n"},
    {ERROR_INVALID_HANDLE, "The handle is invalid.\r\n"},
    {ERROR_NOT_ENOUGH_MEMORY,
     "Not enough memory resources are available to process this command.\r\n"},
    {ERROR_INVALID_DATA, "The data is invalid.\r\n"},
    {ERROR_WRITE_FAULT, "The system cannot write to the specified device.\r\n"},
    {ERROR_READ_FAULT, "The system cannot read from the specified device.\r\n"},
    {ERROR_SHARING_VIOLATION,
     "The process cannot access the file because it is being used by another process.\r\n"},
    {ERROR_INVALID_PARAMETER, "The parameter is incorrect.\r\n"},
    {ERROR_OPEN_FAILED, "The system cannot open the device or file specified.\r\n"},
    {ERROR_DISK_FULL, "There is not enough space on the disk.\r\n"},
    {ERROR_INSUFFICIENT_BUFFER, "The data area passed to a system call is too small.\r\n"},
    {ERROR_FILENAME_EXCED_RANGE, "The filename or extension is too long.\r\n"},
    {ERROR_MR_MID_NOT_FOUND,
     "The system cannot find message text for message number 0x%1 in the message file for "
     "%2.\r\n"},
    {ERROR_FILE_INVALID,
     "The volume for a file has been externally altered so that the opened file is no longer "
     "valid.\r\n"},
};

constexpr int kTextCount = static_cast<int>(sizeof(kTexts) / sizeof(kTexts[0]));

struct CCodeList {
    DWORD codes[kTextCount];
    constexpr CCodeList() : codes{} {
        for (int i = 0; i < kTextCount; ++i) {
            codes[i] = kTexts[i].code;
        }
    }
};

constexpr CCodeList kCodes;

}  // namespace

const char* EnglishSystemErrorText(DWORD code) {
    for (const CSystemErrorText& entry : kTexts) {
        if (entry.code == code) {
            return entry.text;
        }
    }
    return nullptr;
}

int EnglishSystemErrorCodes(const DWORD** codes) {
    if (codes != nullptr) {
        *codes = kCodes.codes;
    }
    return kTextCount;
}
