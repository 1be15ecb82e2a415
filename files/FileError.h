#pragma once

// Why a file operation failed: the system's error code and the system's own text for it, kept
// in the error itself so that nothing is allocated to tell the user.
constexpr int FILE_ERROR_REASON_SIZE = 256;

struct CFileError {
    int code = 0;                              // errno; on Windows the GetLastError() code
    char reason[FILE_ERROR_REASON_SIZE] = "";  // the system's text for code, without a line end
};

// Fills error with code and the system's text for it. Returns 0, so that a failing function
// can end with `return FailWith(error, code);`. error may be null.
int FailWith(CFileError* error, int code);
// The same with the calling thread's last error (errno, or GetLastError() on Windows).
int FailWithLastError(CFileError* error);

// The system's codes for the few failures the store tells apart or reports by itself.
int NameTakenError();    // a file of that name exists already
int PathTooLongError();  // a path does not fit its buffer
int NoFolderError();     // there is no folder to put backups in
bool IsNameTaken(const CFileError& error);
