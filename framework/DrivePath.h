#pragma once

#include <cstddef>

// Where a Windows path of the program ("c:\tt.bin") lies on this system, written into buffer
// (size bytes, no heap). On Windows the path is copied unchanged. Elsewhere drive C stands for
// the folder that VYMCNF_DRIVE_C names (the current folder when it is unset or empty) and
// backslashes become slashes. Returns 1 on success; 0, with buffer emptied, when the path names
// another drive, climbs out of the drive with "..", or does not fit.
int MapWindowsPath(const char* windowsPath, char* buffer, std::size_t size);

// Tells the host that the program wrote and closed the file at nativePath (a path that
// MapWindowsPath gave), size bytes long.
void AfxFileWritten(const char* nativePath, long size);
