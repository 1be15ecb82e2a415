#pragma once

#include <string>

// A backup's bare name, as `vymcnf backups` and a user's memory give it, stands for the file in
// the backup folder: the file the user names is taken from the current folder when it is
// there, and otherwise, when the name holds no folder, from the backup folder when it is
// there. Anything else is returned unchanged, so the usual message about a missing file names
// what the user typed.
std::string FindImageFile(const std::string& given);
