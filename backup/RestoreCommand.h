#pragma once

#include <cstddef>

// The command that puts a backup back on the card, as the user copies it from a message:
// vymcnf write "PATH". The path is quoted so that a shell (or the Windows command prompt)
// takes it as one word whatever it holds; on POSIX systems the characters a shell still
// interprets inside double quotes ($ ` " \) are escaped. Written into out (cut, never overrun,
// always terminated when size > 0); nothing is allocated. Returns out. With force, the command
// carries --force, for a backup that vymcnf's checks of an image would refuse (an erased card).
const char* RestoreCommand(const char* backupPath, char* out, std::size_t size, bool force = false);
