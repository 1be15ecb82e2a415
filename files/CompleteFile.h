#pragma once

#include <cstddef>
#include <cstdint>

#include "files/FileError.h"

// Files that are either complete on disk or not there at all: the bytes go to a temporary file
// in the same folder, are flushed to the disk, and only then get their name in one step.

// Writes bytes to a new temporary file in folder, flushed to disk and closed; its path goes to
// temporary. 0 with error (and no file left behind) when it cannot be done.
int WriteTemporaryFile(const char* folder, const std::uint8_t* bytes, std::size_t count,
                       char* temporary, std::size_t size, CFileError* error);

// Puts bytes in a complete file at path. Without replace an existing file is kept and the
// save fails with the code NameTakenError() gives; with it the file at path is replaced.
int SaveCompleteFile(const char* path, const std::uint8_t* bytes, std::size_t count, bool replace,
                     CFileError* error);

// Puts bytes in a complete file at path, replacing the regular file there, if any. Refuses (0,
// with error) when path names anything but a regular file or nothing: a link is never written
// through or replaced, a FIFO never waited on. The file there before stays as it was unless the
// new one is complete.
int ReplaceRegularFile(const char* path, const std::uint8_t* bytes, std::size_t count,
                       CFileError* error);

// The folder part of path ("." when it has none), in folder; 0 when it does not fit.
int FolderOfPath(const char* path, char* folder, std::size_t size);

// folder, a separator and name, in path; 0 when it does not fit.
int PathInFolder(const char* folder, const char* name, char* path, std::size_t size);
