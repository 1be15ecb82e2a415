#pragma once

#include <map>
#include <string>
#include <vector>

#include "driver/DeviceSeam.h"
#include "framework/Host.h"
#include "terminal/DialogInteraction.h"
#include "terminal/HitMap.h"
#include "terminal/MessageBoxView.h"
#include "terminal/TerminalSession.h"

// The framework's host on an ncurses screen: it draws every running dialog from its template at
// dialog-unit scale with the message boxes on top, and turns keys and mouse clicks into the
// user's picks, clicks, Enter and Escape. The framework runs the modal loops; between messages
// and timers it asks here for input.
class CTerminalHost : public framework::GenericHost {
public:
    explicit CTerminalHost(CTerminalSession& session);

    // A note in the dialog's bottom frame, shown until the user's next key or click.
    void SetNote(std::string note) { m_status = std::move(note); }
    // A mark in the bottom frame for the whole run, where no note stands ("Read-only card").
    void SetMark(std::string mark) { m_mark = std::move(mark); }

    bool WaitForInput(const framework::WindowState* active, int timeoutMs) override;
    int MessageBox(const framework::WindowState* owner, const char* text, const char* caption,
                   UINT type) override;
    void DialogCreated(const framework::WindowState& dialog) override;
    void DialogShown(const framework::WindowState& dialog) override;
    void DialogDestroyed(const framework::WindowState& dialog) override;
    void WindowChanged(const framework::WindowState& window,
                       framework::WindowChange change) override;
    void FileWritten(const char* path, long size) override;
    int WriteStarting(const char* backupPath) override;
    void Help(const framework::WindowState* active) override;

    // Draws the screen anew when it was resized since the last look.
    void FollowResize();

    // The signal that asked the program to end while a write was running (the write was let
    // finish), or 0; with the backup that write named ("" when none).
    int SignalDuringWrite() const;
    const std::string& LastBackup() const { return m_lastBackup; }

private:
    // Draws everything and shows it: the screen, the dialogs bottom to top, the boxes on top.
    void Redraw();
    void HandleKey(const framework::WindowState& dialog, const CKeyEvent& key);
    void HandleClick(const framework::WindowState& dialog, int row, int col);
    void Carry(const framework::WindowState& dialog, const CUserAction& action);
    bool CancelAfterHangUp(const framework::WindowState* active);
    int RunBox(CMessageBoxView& box);

    CTerminalSession& m_session;
    std::vector<const framework::WindowState*> m_dialogs;  // running, innermost last
    // Dialogs shown (their initialisation over), each with its focus and open list.
    std::map<const framework::WindowState*, CDialogInteraction> m_interactions;
    std::vector<CMessageBoxView*> m_boxes;  // open, innermost last
    CHitMap m_hits;                         // of the innermost dialog, from the last redraw
    std::string m_status;                   // a note in the bottom frame until the next key
    std::string m_mark;                     // shown there when there is no note
    const framework::WindowState* m_cancelledAfterHangUp = nullptr;
    int m_hangUpCancels = 0;
    bool m_writing = false;  // from the start of a write until the program next waits
    int m_signalDuringWrite = 0;
    std::string m_lastBackup;
};

// The pause after each byte the write loop sends, as the card's services make it, with the
// screen kept up meanwhile: the write runs inside one timer message and reads no input, so a
// resize during it is drawn between two bytes. In place for its own life.
class CResizeFollowingPause final : public CScopedForwardingDeviceApi {
public:
    explicit CResizeFollowingPause(CTerminalHost& host) : m_host(host) {}

    void Sleep(DWORD milliseconds) override;

private:
    CTerminalHost& m_host;
};
