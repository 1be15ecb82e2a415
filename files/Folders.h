#pragma once

#include <cstddef>

#include "files/FileError.h"

// Folders: where a user's files go by the base directory rules, paths put together, and the
// folders made that are missing.

// The size of every path buffer of the program's own; a longer path is refused as too long.
constexpr int FILE_PATH_SIZE = 1024;

// The value of the environment variable name; nullptr when it is unset or empty, which the
// program takes to mean the same.
const char* NonEmptyVariable(const char* name);

// Joins first, second and third (when not null) with separator into path, without doubling a
// separator one of them ends in ("C:\Data\", "/home/user/"). 0 when they do not fit.
int JoinPath(char* path, std::size_t size, char separator, const char* first, const char* second,
             const char* third = nullptr);

// A folder of one kind of this user's files, by the base directory rules: below xdgHome (the
// kind's $XDG_..._HOME) when it is set and absolute, else below home's homeDefault
// (".local/share", ".local/state"); then app and below. 0 with error when neither is known
// (NoFolderError()) or the folder does not fit (PathTooLongError()), folder empty then.
int ChooseUserFolder(const char* xdgHome, const char* home, const char* homeDefault,
                     const char* app, const char* below, char* folder, std::size_t size,
                     CFileError* error);

// Makes folder and every missing folder above it, one level at a time.
int MakeFolders(const char* folder, CFileError* error);
