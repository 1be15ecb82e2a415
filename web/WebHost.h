#pragma once

#include <cstdint>

#include "framework/Host.h"

// The browser page as a host of the framework: the page draws the dialogs from the state this
// host sends it and queues what the user does; the framework's modal loops run here and wait
// for the page with emscripten_sleep (Asyncify), so the page stays live while the program
// waits, and the progress bar is drawn between the paced bytes of a write.
class CWebHost final : public framework::GenericHost {
public:
    bool WaitForInput(const framework::WindowState* active, int timeoutMs) override;
    int MessageBox(const framework::WindowState* owner, const char* text, const char* caption,
                   UINT type) override;
    void DialogCreated(const framework::WindowState& dialog) override;
    void DialogShown(const framework::WindowState& dialog) override;
    void DialogDestroyed(const framework::WindowState& dialog) override;
    void WindowChanged(const framework::WindowState& window,
                       framework::WindowChange change) override;
    void FileWritten(const char* path, long size) override;
    void Help(const framework::WindowState* active) override;

    // Sends the open dialogs to the page when something changed since they were last sent.
    void ShowChanges();

private:
    // Carries out one action the page queued; false when the page asked the program to end.
    bool Deliver(const framework::WindowState& dialog, const int action[3]);

    const framework::WindowState* m_dialogs[4] = {};  // open dialogs, innermost last
    int m_dialogCount = 0;
    bool m_changed = false;
};
