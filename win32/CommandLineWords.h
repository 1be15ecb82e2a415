#pragma once

// Splits line in place into its words, as the runtime splits a console program's command line:
// blanks separate words outside double quotes, the quotes themselves go, 2n backslashes before
// a quote are n backslashes and 2n + 1 are n and a literal quote, other backslashes stay as they
// are (so "C:\My Dumps\chip.bin" is one word). At most maxWords words go to words; returns how
// many there were, -1 when there were more.
int SplitCommandLine(char* line, char** words, int maxWords);
