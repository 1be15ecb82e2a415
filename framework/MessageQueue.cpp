#include "framework/MessageQueue.h"

#include <algorithm>
#include <deque>
#include <vector>

#include "framework/ControlState.h"
#include "framework/Dialog.h"
#include "framework/Host.h"

namespace framework {
namespace {

struct PostedMessage {
    WindowState* window;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

struct Timer {
    WindowState* window;
    UINT_PTR id;
    UINT period;
    TIMERPROC proc;
    std::uint64_t due;
};

struct MessageState {
    std::deque<PostedMessage> posted;
    std::vector<Timer> timers;
    std::vector<CDialog*> modal;
    bool quitPending = false;
    int quitCode = 0;
};

MessageState& State() {
    static MessageState state;
    return state;
}

}  // namespace

void PostQuit(int exitCode) {
    MessageState& state = State();
    if (!state.quitPending) {
        state.quitPending = true;
        state.quitCode = exitCode;
        CurrentHost().QuitPosted(exitCode);
    }
}

bool QuitPending() {
    return State().quitPending;
}

int QuitCode() {
    return State().quitCode;
}

void ResetMessageState() {
    MessageState& state = State();
    state.posted.clear();
    state.timers.clear();
    state.quitPending = false;
    state.quitCode = 0;
}

void PostToWindow(const WindowState& window, UINT message, WPARAM wParam, LPARAM lParam) {
    WindowState* live = LiveWindow(&window);
    if (live != nullptr) {
        State().posted.push_back({live, message, wParam, lParam});
    }
}

bool DispatchOnePosted() {
    MessageState& state = State();
    while (!state.posted.empty()) {
        const PostedMessage message = state.posted.front();
        state.posted.pop_front();
        WindowState* live = LiveWindow(message.window);
        if (live != nullptr) {
            SendToWindow(*live, message.message, message.wParam, message.lParam);
            return true;
        }
    }
    return false;
}

UINT_PTR StartTimer(const WindowState& window, UINT_PTR id, UINT milliseconds, TIMERPROC proc,
                    std::uint64_t now) {
    WindowState* live = LiveWindow(&window);
    if (live == nullptr) {
        return 0;
    }
    const UINT period = std::max<UINT>(milliseconds, USER_TIMER_MINIMUM);
    auto& timers = State().timers;
    for (Timer& timer : timers) {
        if (timer.window == live && timer.id == id) {
            timer.period = period;
            timer.proc = proc;
            timer.due = now + period;
            return id == 0 ? 1 : id;
        }
    }
    timers.push_back({live, id, period, proc, now + period});
    return id == 0 ? 1 : id;
}

bool StopTimer(const WindowState& window, UINT_PTR id) {
    auto& timers = State().timers;
    auto found = std::find_if(timers.begin(), timers.end(), [&](const Timer& timer) {
        return timer.window == &window && timer.id == id;
    });
    if (found == timers.end()) {
        return false;
    }
    timers.erase(found);
    return true;
}

bool FireDueTimer(std::uint64_t now) {
    auto& timers = State().timers;
    auto due = timers.end();
    for (auto timer = timers.begin(); timer != timers.end(); ++timer) {
        if (timer->due <= now && (due == timers.end() || timer->due < due->due)) {
            due = timer;
        }
    }
    if (due == timers.end()) {
        return false;
    }
    // Like WM_TIMER, ticks that fell due while the program was busy come as one.
    due->due = now + due->period;
    const Timer fired = *due;
    if (fired.proc != nullptr) {
        fired.proc(fired.window->nativeHandle, WM_TIMER, fired.id, static_cast<DWORD>(now));
    } else {
        SendToWindow(*fired.window, WM_TIMER, fired.id, 0);
    }
    return true;
}

int TimeToNextTimer(std::uint64_t now) {
    const auto& timers = State().timers;
    if (timers.empty()) {
        return -1;
    }
    std::uint64_t next = timers.front().due;
    for (const Timer& timer : timers) {
        next = std::min(next, timer.due);
    }
    if (next <= now) {
        return 0;
    }
    const std::uint64_t wait = next - now;
    return wait > 0x7FFFFFFF ? 0x7FFFFFFF : static_cast<int>(wait);
}

int TimerCount() {
    return static_cast<int>(State().timers.size());
}

void ForgetWindows(const WindowState& dialog) {
    MessageState& state = State();
    auto belongs = [&dialog](const WindowState* window) {
        return window == &dialog || window->parent == &dialog;
    };
    state.timers.erase(std::remove_if(state.timers.begin(), state.timers.end(),
                                      [&](const Timer& timer) { return belongs(timer.window); }),
                       state.timers.end());
    state.posted.erase(
        std::remove_if(state.posted.begin(), state.posted.end(),
                       [&](const PostedMessage& message) { return belongs(message.window); }),
        state.posted.end());
}

void PushModal(CDialog& dialog) {
    State().modal.push_back(&dialog);
}

void PopModal(CDialog& dialog) {
    auto& modal = State().modal;
    auto found = std::find(modal.begin(), modal.end(), &dialog);
    if (found != modal.end()) {
        modal.erase(found);
    }
}

CDialog* ActiveModalDialog() {
    const auto& modal = State().modal;
    return modal.empty() ? nullptr : modal.back();
}

const WindowState* ActiveDialog() {
    CDialog* dialog = ActiveModalDialog();
    return dialog != nullptr ? dialog->GetState() : nullptr;
}

}  // namespace framework
