#pragma once

#include <cstddef>
#include <cstdio>

#include "files/FileError.h"

// The file system services the program needs, the same on every system: one implementation
// over POSIX (PlatformFilesPosix.cpp), one over ANSI Win32 and the C runtime
// (PlatformFilesWin32.cpp) that Windows 98 already has. Paths are the system's own. Every
// function that can fail returns 1 on success and 0 with error filled.

// The separator this system puts between folders, and whether c separates them.
char PathSeparator();
bool IsPathSeparator(char c);

// This user's home folder: $HOME, else the one the user database gives; nullptr where neither
// is known, and on Windows, whose per-user folders come from other variables.
const char* HomeFolder();

// Makes the one folder path (its parent must exist); a folder already there is fine. Folders
// made here are the user's alone: they hold the user's card images.
int MakeOneFolder(const char* path, CFileError* error);

// A new, empty file of a name no other file has, in folder, opened for writing in binary mode;
// its path goes to path. nullptr with error filled when it cannot be made.
std::FILE* OpenTemporaryFile(const char* folder, char* path, std::size_t size, CFileError* error);
// Everything written to file is on the disk, not only in a buffer, when this returns 1.
int FlushToDisk(std::FILE* file, CFileError* error);

// Gives the file at from the name to, in the same folder, in one step. Without replacing, an
// existing file at to is kept and the move fails with the code NameTakenError() gives.
int MoveWithoutReplacing(const char* from, const char* to, CFileError* error);
int MoveReplacing(const char* from, const char* to, CFileError* error);
// Makes the names in folder durable too (where the system needs to be asked).
void SyncFolder(const char* folder);
void RemoveFile(const char* path);

// Opens the file at path for reading in binary mode when it is a regular file (or a link to
// one). Opening never waits, not for a writer of a FIFO nor for a device; anything but a
// regular file is refused with *notAFile set and nothing read from it. nullptr with error (or
// notAFile) filled when it is not opened.
std::FILE* OpenRegularFileForReading(const char* path, bool* notAFile, CFileError* error);

// What a path names itself: a link is a link here, not the file it leads to.
enum class FileKind { Nothing, Regular, Folder, Link, Other };
// The kind of what path names; 0 with error when it cannot be looked at.
int KindOfPath(const char* path, FileKind* kind, CFileError* error);
// The system's code for refusing to take a thing of kind for a regular file.
int NotARegularFileError(FileKind kind);
// Whether path itself, not a link there, names a regular file.
bool IsRegularFile(const char* path);
// 1 when path names a regular file itself (not a link to one) or nothing at all; 0 with error
// when it names a link, a folder, a FIFO, a device or anything else, or cannot be looked at.
int IsRegularFileOrNothing(const char* path, CFileError* error);
// Whether path names anything at all, even a link that leads nowhere.
bool PathExists(const char* path);

// Calls visit with the name of every entry of folder (not "." and "..").
int ListFolder(const char* folder, void (*visit)(const char* name, void* context), void* context,
               CFileError* error);
// Whether path names a folder that exists (or a link to one).
bool IsFolder(const char* path);

// The folder the running program was started from (Windows); 0 where the system has no such
// notion the program uses.
int ProgramFolder(char* folder, std::size_t size);
