#pragma once

#include <windows.h>

// What the Windows builds of the contract cases share: where their card file lies and how the
// system they run on words its answers.

// The file named name beside the test program, so that the runs of several builds never share
// one: written into path and returned, nullptr when it does not fit.
const char* PathBesideProgram(const char* name, char (&path)[MAX_PATH]);

// Whether the cases run under Wine rather than on Windows.
bool RunningOnWine();

// The system's English text for the sharing violation, line ending included: Wine's texts are
// its own, shorter ones.
const char* SharingViolationText();
