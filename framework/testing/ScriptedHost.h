#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "framework/Host.h"
#include "framework/WindowState.h"

namespace framework::testing {

struct RecordedMessageBox {
    int ownerId;  // template ID of the owning dialog, 0 for none
    std::string caption;
    std::string text;
    UINT type;
    int answer;
};

struct RecordedTimer {
    bool started;  // false: KillTimer
    int windowId;
    UINT_PTR timerId;
    UINT milliseconds;
    std::uint64_t at;  // the host's clock
};

struct RecordedIcon {
    int dialogId;
    int x;
    int y;
    HICON icon;
};

struct ProgressStep {
    int controlId;
    int low;
    int high;
    int pos;
};

// A host for tests: the user is a queue of actions, run one at a time whenever a dialog waits
// for input; the clock is virtual (waiting for a timer moves it on at once, and a test moves it
// with Advance to stand for a long handler); message boxes are recorded and answered from a queue. It installs itself on
// construction (and forgets any message state a previous test left) and puts the previous host
// back when destroyed.
class ScriptedHost : public GenericHost {
public:
    using Action = std::function<int(const WindowState& dialog)>;

    ScriptedHost();
    ~ScriptedHost() override;
    ScriptedHost(const ScriptedHost&) = delete;
    ScriptedHost& operator=(const ScriptedHost&) = delete;

    // User actions. dialogId 0: whichever dialog waits next; otherwise the action waits until
    // that dialog (by template ID) is the innermost one. An action the framework refuses is
    // noted in Refused().
    void Pick(int controlId, int index, int dialogId = 0);
    void Click(int controlId, int dialogId = 0);
    void Enter(int dialogId = 0);
    void Escape(int dialogId = 0);
    void Close(int dialogId = 0);
    void Help(int dialogId = 0);
    void Paint(int dialogId = 0);
    // The window manager minimises or restores the dialog, or gives it a client area in pixels.
    void Minimize(bool minimized = true, int dialogId = 0);
    void Resize(int width, int height, int dialogId = 0);
    // The user does nothing for that long: the clock moves on, due timers tick after it.
    void Wait(std::uint64_t milliseconds, int dialogId = 0);
    // Any other step; return 1 when it was delivered, 0 to note it refused.
    void Do(std::string description, Action action, int dialogId = 0);
    int PendingActions() const { return static_cast<int>(m_actions.size()); }
    const std::vector<std::string>& Refused() const { return m_refused; }
    // Set when a dialog waited with no action left and no timer running: the framework then
    // ends every loop as a quit with kInputEndedExitCode.
    bool RanOutOfInput() const { return m_ranOut; }

    // Message boxes: OK boxes are answered IDOK; the others take the next queued answer, or
    // their safe answer (No, Cancel) when none is queued. onMessageBox runs as a box shows.
    void Answer(int answer) { m_answers.push_back(answer); }
    std::function<void(const RecordedMessageBox&)> onMessageBox;
    const std::vector<RecordedMessageBox>& MessageBoxes() const { return m_boxes; }

    // The virtual clock: a handler that takes time moves it on with Advance.
    std::uint64_t NowMs() override { return m_now; }
    void Advance(std::uint64_t milliseconds) { m_now += milliseconds; }
    const std::vector<RecordedTimer>& Timers() const { return m_timers; }
    const std::vector<ProgressStep>& Progress() const { return m_progress; }

    // Painting.
    int BeginPaintCount() const { return m_beginPaints; }
    int EndPaintCount() const { return m_endPaints; }
    int DefaultPaintCount() const { return m_defaultPaints; }
    int IconEraseCount() const { return m_iconErases; }
    const std::vector<RecordedIcon>& DrawnIcons() const { return m_icons; }

    // Dialogs seen, by template ID, and every event in order as text.
    const std::vector<int>& DialogsCreated() const { return m_created; }
    const std::vector<int>& DialogsShown() const { return m_shown; }
    const std::vector<int>& DialogsDestroyed() const { return m_destroyed; }
    const std::vector<std::string>& Log() const { return m_log; }
    int HelpCount() const { return m_helps; }
    int QuitsPosted() const { return m_quits; }

    // The innermost running dialog, and a control of it; nullptr when there is none.
    static const WindowState* Dialog();
    static const WindowState* Control(int controlId);

    // GenericHost and Host.
    bool WaitForInput(const WindowState* active, int timeoutMs) override;
    int MessageBox(const WindowState* owner, const char* text, const char* caption,
                   UINT type) override;
    void DialogCreated(const WindowState& dialog) override;
    void DialogShown(const WindowState& dialog) override;
    void DialogEnded(const WindowState& dialog, INT_PTR result) override;
    void DialogDestroyed(const WindowState& dialog) override;
    void WindowChanged(const WindowState& window, WindowChange change) override;
    HDC BeginPaint(const WindowState& window) override;
    void EndPaint(const WindowState& window, HDC dc) override;
    void DrawIcon(const WindowState& window, HDC dc, int x, int y, HICON icon) override;
    void DefaultPaint(const WindowState& window) override;
    void EraseIconBackground(const WindowState& window, HDC dc) override;
    void TimerSet(const WindowState& window, UINT_PTR id, UINT milliseconds) override;
    void TimerKilled(const WindowState& window, UINT_PTR id) override;
    void QuitPosted(int exitCode) override;
    void Help(const WindowState* active) override;

private:
    struct QueuedAction {
        std::string description;
        Action action;
        int dialogId;
    };

    CScopedHost m_installed;
    std::deque<QueuedAction> m_actions;
    std::vector<std::string> m_refused;
    bool m_ranOut = false;
    std::deque<int> m_answers;
    std::vector<RecordedMessageBox> m_boxes;
    std::uint64_t m_now = 0;
    std::vector<RecordedTimer> m_timers;
    std::vector<ProgressStep> m_progress;
    int m_beginPaints = 0;
    int m_endPaints = 0;
    int m_defaultPaints = 0;
    int m_iconErases = 0;
    std::vector<RecordedIcon> m_icons;
    std::vector<int> m_created;
    std::vector<int> m_shown;
    std::vector<int> m_destroyed;
    std::vector<std::string> m_log;
    int m_helps = 0;
    int m_quits = 0;
};

}  // namespace framework::testing
