#pragma once

// What `vymcnf --help` prints: every command, option, file, variable and exit status.
extern const char* const VYMCNF_USAGE_TEXT;
