#include "framework/SystemCalls.h"

#ifndef _WIN32
#include "framework/Host.h"
#include "framework/MessageQueue.h"

void PostQuitMessage(int exitCode) {
    framework::PostQuit(exitCode);
}

int GetSystemMetrics(int index) {
    return framework::CurrentHost().SystemMetric(index);
}
#endif
