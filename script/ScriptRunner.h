#pragma once

#include "script/LineSource.h"
#include "script/TextSink.h"

// Exit statuses of the runner.
constexpr int RUN_ENDED_NORMALLY = 0;
constexpr int RUN_INTERNAL_FAILURE = 1;
constexpr int RUN_MALFORMED_SCRIPT = 2;
// A signal (SIGINT, SIGTERM, SIGHUP) came during a write: the write and its read-back ran to
// their end, the run stopped after them, and the status is 128 and the signal's number.

// Runs the whole program once with script as the user and events as its screen: registers the
// program's resources, puts the counting device services in place and runs the application
// object to its end. Returns one of the statuses above.
int RunScript(CLineSource& script, CTextSink& events);
