#pragma once

#include "script/LineSource.h"
#include "script/TextSink.h"

// Exit statuses of the runner, so that a batch learns what happened without reading events.
// The first that applies: a malformed line, a signal during a write, then a card not opened or
// a write asked for that did not complete (an internal failure shares that status: either way
// the card is not as the script meant it), then a refused line.
constexpr int RUN_ENDED_NORMALLY = 0;
constexpr int RUN_INTERNAL_FAILURE = 1;
constexpr int RUN_NOT_DONE = 1;  // the card was not opened, or a write did not complete
constexpr int RUN_MALFORMED_SCRIPT = 2;
constexpr int RUN_LINE_REFUSED = 3;
// A signal (SIGINT, SIGTERM, SIGHUP) came during a write: the write and its read-back ran to
// their end, the run stopped after them, and the status is 128 and the signal's number.

// Runs the whole program once with script as the user and events as its screen: registers the
// program's resources, puts the counting device services in place and runs the application
// object to its end. Returns one of the statuses above.
int RunScript(CLineSource& script, CTextSink& events);
