#pragma once

#include <cstdio>

// Descriptors 0, 1 and 2 belong to the program's input, output and errors. One that a caller
// left closed would go to the next file the program opens: the card's file among them, which
// would then take the program's text as EEPROM bytes, or be read as a script.

// Called first thing in main, before anything is opened: every closed one of descriptors 0 to 2
// is opened on the null device, for reading only, so that nothing else can take it and a write
// to it fails, which the program then notices. On Windows the card is a system handle and
// never one of these, so nothing needs doing there. Returns 1, or 0 when one could not be
// opened (the program must not go on to open the card then).
int OpenStandardStreams();

// Whether everything the program put on file went out: flushes it and checks its error flag.
// On failure *error is the system's error number when it is known, else 0.
bool StreamWentOut(std::FILE* file, int* error);

// "PROGRAM: couldn't write to standard output" (or "error", as stream names it), with the
// system's reason for error when there is one, as a line on other, flushed.
void TellStreamFailure(std::FILE* other, const char* program, const char* stream, int error);

// The end of a program: flushes standard output and error. When one of them could not be
// written, says so on the other (where it can) and returns a failure status (status itself
// when that is one already, else 1): a program never reports success for what it could not
// tell. Otherwise returns status.
int FinishStandardStreams(const char* program, int status);
