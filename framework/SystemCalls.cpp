#include "framework/SystemCalls.h"

#ifndef _WIN32
#include "framework/Host.h"
#include "framework/MessageQueue.h"

void PostQuitMessage(int exitCode) {
    framework::PostQuit(exitCode);
}

void Sleep(DWORD milliseconds) {
    framework::CurrentHost().Sleep(milliseconds);
}

int GetSystemMetrics(int index) {
    return framework::CurrentHost().SystemMetric(index);
}
#endif
