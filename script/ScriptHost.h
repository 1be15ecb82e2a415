#pragma once

#include <cstdint>
#include <deque>
#include <optional>
#include <string>

#include "driver/WriteSignals.h"
#include "framework/Host.h"
#include "script/ControlNames.h"
#include "script/EventWriter.h"
#include "script/LineSource.h"
#include "script/PacingDeviceApi.h"
#include "script/WriteCountingDeviceApi.h"

// Runs the program with no screen: whenever the setup dialog waits for the user, the next
// command of the script is carried out as the user's action; what the program shows goes out
// as events. Message boxes are answered at once, and timers run on a clock of the host's own
// that jumps to the next timer whenever a dialog other than the setup dialog waits, so nothing
// waits for real but the pause after each written byte (unless pacing is off).
class CScriptHost : public framework::GenericHost {
public:
    CScriptHost(CLineSource& script, CEventWriter& events, CWriteCountingDeviceApi& writes,
                CPacingDeviceApi& pace);

    // A line of the script was malformed (the run ended there).
    bool Malformed() const { return m_malformed; }
    // The run went wrong in a way no script can cause (the setup dialog never ended, ...).
    bool Failed() const { return m_failed || !m_ended || !m_events.Good(); }
    // How many lines were refused (the run went on after each).
    int RefusedLines() const { return m_refusedLines; }
    // The signal that asked the runner to end during a write (the write and its read-back went
    // on to their end, and the run stopped after them), or 0.
    int EndingSignal() const { return m_endingSignal; }

    bool WaitForInput(const framework::WindowState* active, int timeoutMs) override;
    int MessageBox(const framework::WindowState* owner, const char* text, const char* caption,
                   UINT type) override;
    std::uint64_t NowMs() override { return m_nowMs; }
    void DialogCreated(const framework::WindowState& dialog) override;
    void DialogEnded(const framework::WindowState& dialog, INT_PTR result) override;
    void DialogDestroyed(const framework::WindowState& dialog) override;
    void FileWritten(const char* path, long size) override;
    int WriteStarting(const char* backupPath) override;

private:
    bool IsSetupDialog(const framework::WindowState& dialog) const;
    // Reads lines up to the next command and carries it out; false at the end of the script.
    bool RunNextCommand(const framework::WindowState& dialog);
    void Pick(const framework::WindowState& dialog, const std::string& control,
              const std::string& entry);
    void Click(const framework::WindowState& dialog, const std::string& control);
    // The window of the control a line named (named as the names found it, with reason when
    // they did not): nullptr when the line is malformed or the dialog has no such control.
    const framework::WindowState* NamedWindow(const framework::WindowState& dialog,
                                              const CControlNames::CNamedControl* named,
                                              const std::string& reason);
    void Show(const framework::WindowState& dialog);
    void Refuse(const std::string& reason);
    // Ends the setup dialog as its Cancel button does: after a malformed line or the script's
    // end.
    void CloseAsCancel(const framework::WindowState& dialog);
    void Fail();
    // Ends the protection of a finished write; true when a signal came during it.
    bool SignalAfterWrite();

    CLineSource& m_script;
    CEventWriter& m_events;
    CWriteCountingDeviceApi& m_writes;
    CPacingDeviceApi& m_pace;
    CControlNames m_names;
    int m_lineNumber = 0;
    std::deque<int> m_answers;  // IDYES / IDNO for the next questions
    std::uint64_t m_nowMs = 0;
    bool m_inputEnded = false;
    bool m_malformed = false;
    bool m_failed = false;
    int m_refusedLines = 0;
    bool m_ended = false;        // the setup dialog's end was told
    INT_PTR m_setupResult = -1;  // EndDialog value of the setup dialog, -1 before
    // In place from the start of a write until the runner next takes a command: a signal then
    // only ends the run once the write and its read-back are done and told.
    std::optional<CWriteSignalScope> m_writeSignals;
    int m_endingSignal = 0;
};
