#include "framework/testing/ScriptedHost.h"

#include <utility>

#include "framework/MessageBox.h"
#include "framework/MessageQueue.h"
#include "framework/UserInput.h"

namespace framework::testing {
namespace {

int DialogIdOf(const WindowState* window) {
    return window != nullptr ? window->Dialog().id : 0;
}

}  // namespace

ScriptedHost::ScriptedHost() : m_installed(*this) {
    ResetMessageState();
}

ScriptedHost::~ScriptedHost() {
    ResetMessageState();
}

void ScriptedHost::Pick(int controlId, int index, int dialogId) {
    Do(
        "pick " + std::to_string(index) + " in " + std::to_string(controlId),
        [controlId, index](const WindowState& dialog) {
            const WindowState* combo = dialog.FindChild(controlId);
            return combo != nullptr ? UserPick(*combo, index) : 0;
        },
        dialogId);
}

void ScriptedHost::Click(int controlId, int dialogId) {
    Do(
        "click " + std::to_string(controlId),
        [controlId](const WindowState& dialog) {
            const WindowState* button = dialog.FindChild(controlId);
            return button != nullptr ? UserClick(*button) : 0;
        },
        dialogId);
}

void ScriptedHost::Enter(int dialogId) {
    Do(
        "enter", [](const WindowState& dialog) { return UserEnter(dialog); }, dialogId);
}

void ScriptedHost::Escape(int dialogId) {
    Do(
        "escape", [](const WindowState& dialog) { return UserEscape(dialog); }, dialogId);
}

void ScriptedHost::Close(int dialogId) {
    Do(
        "close", [](const WindowState& dialog) { return UserClose(dialog); }, dialogId);
}

void ScriptedHost::Help(int dialogId) {
    Do(
        "help", [](const WindowState& dialog) { return UserHelp(dialog); }, dialogId);
}

void ScriptedHost::Paint(int dialogId) {
    Do(
        "paint", [](const WindowState& dialog) { return UserPaint(dialog); }, dialogId);
}

void ScriptedHost::Minimize(bool minimized, int dialogId) {
    Do(
        minimized ? "minimise" : "restore",
        [minimized](const WindowState& dialog) { return SetMinimized(dialog, minimized); },
        dialogId);
}

void ScriptedHost::Resize(int width, int height, int dialogId) {
    Do(
        "resize " + std::to_string(width) + "x" + std::to_string(height),
        [width, height](const WindowState& dialog) { return SetClientSize(dialog, width, height); },
        dialogId);
}

void ScriptedHost::Wait(std::uint64_t milliseconds, int dialogId) {
    Do(
        "wait " + std::to_string(milliseconds),
        [this, milliseconds](const WindowState&) {
            m_now += milliseconds;
            return 1;
        },
        dialogId);
}

void ScriptedHost::Do(std::string description, Action action, int dialogId) {
    m_actions.push_back({std::move(description), std::move(action), dialogId});
}

const WindowState* ScriptedHost::Dialog() {
    return ActiveDialog();
}

const WindowState* ScriptedHost::Control(int controlId) {
    const WindowState* dialog = ActiveDialog();
    return dialog != nullptr ? dialog->FindChild(controlId) : nullptr;
}

bool ScriptedHost::WaitForInput(const WindowState* active, int timeoutMs) {
    if (active != nullptr && !m_actions.empty() &&
        (m_actions.front().dialogId == 0 || m_actions.front().dialogId == active->id)) {
        QueuedAction next = std::move(m_actions.front());
        m_actions.pop_front();
        m_log.push_back("action " + next.description);
        if (next.action(*active) == 0) {
            m_refused.push_back(next.description);
            m_log.push_back("refused " + next.description);
        }
        return true;
    }
    if (timeoutMs >= 0) {
        m_now += static_cast<std::uint64_t>(timeoutMs);
        return true;
    }
    m_ranOut = true;
    m_log.push_back("out of input");
    return false;
}

int ScriptedHost::MessageBox(const WindowState* owner, const char* text, const char* caption,
                             UINT type) {
    int answer = IDOK;
    if ((type & MB_TYPEMASK) != MB_OK) {
        if (!m_answers.empty()) {
            answer = m_answers.front();
            m_answers.pop_front();
        } else {
            answer = SafeAnswer(type);
        }
    }
    m_boxes.push_back({DialogIdOf(owner), caption, text, type, answer});
    m_log.push_back(std::string("box ") + caption + ": " + text);
    if (onMessageBox) {
        onMessageBox(m_boxes.back());
    }
    return answer;
}

void ScriptedHost::DialogCreated(const WindowState& dialog) {
    m_created.push_back(dialog.id);
    m_log.push_back("created " + std::to_string(dialog.id));
}

void ScriptedHost::DialogShown(const WindowState& dialog) {
    m_shown.push_back(dialog.id);
    m_log.push_back("shown " + std::to_string(dialog.id));
}

void ScriptedHost::DialogEnded(const WindowState& dialog, INT_PTR result) {
    m_log.push_back("ended " + std::to_string(dialog.id) + " with " + std::to_string(result));
}

void ScriptedHost::DialogDestroyed(const WindowState& dialog) {
    m_destroyed.push_back(dialog.id);
    m_log.push_back("destroyed " + std::to_string(dialog.id));
}

void ScriptedHost::WindowChanged(const WindowState& window, WindowChange change) {
    if (change == WindowChange::ProgressPos || change == WindowChange::ProgressRange) {
        m_progress.push_back({window.id, window.rangeLow, window.rangeHigh, window.pos});
    }
}

HDC ScriptedHost::BeginPaint(const WindowState& window) {
    ++m_beginPaints;
    return GenericHost::BeginPaint(window);
}

void ScriptedHost::EndPaint(const WindowState& window, HDC dc) {
    (void)window;
    (void)dc;
    ++m_endPaints;
}

void ScriptedHost::DrawIcon(const WindowState& window, HDC dc, int x, int y, HICON icon) {
    (void)dc;
    m_icons.push_back({window.Dialog().id, x, y, icon});
}

void ScriptedHost::DefaultPaint(const WindowState& window) {
    (void)window;
    ++m_defaultPaints;
}

void ScriptedHost::EraseIconBackground(const WindowState& window, HDC dc) {
    (void)window;
    (void)dc;
    ++m_iconErases;
}

void ScriptedHost::TimerSet(const WindowState& window, UINT_PTR id, UINT milliseconds) {
    m_timers.push_back({true, window.id, id, milliseconds, m_now});
}

void ScriptedHost::TimerKilled(const WindowState& window, UINT_PTR id) {
    m_timers.push_back({false, window.id, id, 0, m_now});
}

void ScriptedHost::QuitPosted(int exitCode) {
    ++m_quits;
    m_log.push_back("quit " + std::to_string(exitCode));
}

void ScriptedHost::Help(const WindowState* active) {
    ++m_helps;
    m_log.push_back("help " + std::to_string(DialogIdOf(active)));
}

}  // namespace framework::testing
