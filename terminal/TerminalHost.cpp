#include "terminal/TerminalHost.h"

#include <curses.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>

#include "framework/HostServices.h"
#include "framework/UserInput.h"
#include "terminal/CursesCanvas.h"
#include "terminal/DialogLayout.h"
#include "terminal/DialogPainter.h"
#include "terminal/KeyTable.h"
#include "terminal/WindowView.h"
#include "ui/Resource.h"

namespace {

using framework::WindowState;

constexpr const char* kHelpHint = "F1 Help";
constexpr const char* kKeysCaption = "Keys";

bool HasFocusableControl(const CDialogView& view) {
    return std::any_of(view.controls.begin(), view.controls.end(),
                       [](const CControlView& control) { return IsFocusable(control); });
}

}  // namespace

CTerminalHost::CTerminalHost(CTerminalSession& session) : m_session(session) {}

void CTerminalHost::Redraw() {
    CCursesCanvas canvas;
    canvas.Fill({0, 0, canvas.Rows(), canvas.Cols()}, EStyle::kScreen);
    m_hits.Clear();
    const WindowState* active = framework::ActiveDialog();
    int cursorRow = -1;
    int cursorCol = -1;
    for (const WindowState* dialog : m_dialogs) {
        // As in Windows, a dialog appears once its initialisation is over: a box that the
        // initialisation shows stands alone.
        if (framework::LiveWindow(dialog) == nullptr || !dialog->visible ||
            m_interactions.find(dialog) == m_interactions.end()) {
            continue;
        }
        const CDialogView view = ViewOfDialog(*dialog);
        const CDialogLayout layout = LayoutDialog(view, canvas.Rows(), canvas.Cols());
        if (!layout.fits) {
            PaintTooSmall(canvas, view.caption, layout.neededRows, layout.neededCols);
            cursorRow = -1;
            break;
        }
        CDialogInteraction& interaction = m_interactions.find(dialog)->second;
        interaction.Sync(view);
        CDialogPaintState state;
        CHitMap scratch;
        if (dialog == active) {
            state = interaction.PaintState(view);
            if (HasFocusableControl(view)) {
                state.hint = kHelpHint;
            }
        } else {
            // Under another dialog: no focus, the default button still marked.
            state = CDialogInteraction().PaintState(view);
            state.focus = -1;
            state.openList = -1;
        }
        PaintDialog(canvas, view, layout, state, dialog == active ? m_hits : scratch);
        if (dialog == active && (!m_status.empty() || !m_mark.empty())) {
            // Left of the help hint; a long note keeps its end, where a file name stands.
            const std::size_t room = static_cast<std::size_t>(std::max(layout.box.cols - 16, 4));
            std::string note = !m_status.empty() ? m_status : m_mark;
            if (note.size() > room) {
                note = "..." + note.substr(note.size() - (room - 3));
            }
            canvas.Text(layout.box.Bottom(), layout.box.col + 2, " " + note + " ", EStyle::kDialog);
        }
        if (dialog == active && state.focus >= 0) {
            const CCellRect& cell = layout.cells[static_cast<std::size_t>(state.focus)];
            cursorRow = cell.row;
            cursorCol = cell.col + 1;
        }
    }
    for (CMessageBoxView* box : m_boxes) {
        box->Paint(canvas);
        cursorRow = -1;
    }
    // The cursor is hidden, but stays on the focus for whoever follows it (a screen reader).
    if (cursorRow >= 0) {
        move(cursorRow, cursorCol);
    }
    refresh();
}

bool CTerminalHost::CancelAfterHangUp(const WindowState* active) {
    // The terminal is gone: each running dialog is cancelled in turn, which writes nothing. A
    // dialog that does not end on Cancel ends the program as a quit does.
    if (active == nullptr) {
        return false;
    }
    if (active == m_cancelledAfterHangUp && ++m_hangUpCancels > 1) {
        return false;
    }
    if (active != m_cancelledAfterHangUp) {
        m_cancelledAfterHangUp = active;
        m_hangUpCancels = 0;
    }
    return framework::UserEscape(*active) != 0;
}

bool CTerminalHost::WaitForInput(const WindowState* active, int timeoutMs) {
    if (m_writing && active != nullptr && active->dialogTemplate != nullptr &&
        active->dialogTemplate->id == IDD_SETUP_DIALOG) {
        m_writing = false;  // the write and its check are over: the setup dialog waits again
        if (m_session.HangUpSeen() && m_signalDuringWrite == 0) {
            m_signalDuringWrite = m_session.EndingSignal();
        }
    }
    if (m_session.HangUpSeen()) {
        return CancelAfterHangUp(active);
    }
    Redraw();
    const CTerminalInput input = m_session.Read(timeoutMs);
    if (active == nullptr || framework::LiveWindow(active) == nullptr ||
        m_interactions.find(active) == m_interactions.end()) {
        return true;
    }
    switch (input.type) {
        case CTerminalInput::EType::kKey:
            m_status.clear();
            HandleKey(*active, input.key);
            break;
        case CTerminalInput::EType::kClick:
            m_status.clear();
            HandleClick(*active, input.row, input.col);
            break;
        case CTerminalInput::EType::kWheelUp:
        case CTerminalInput::EType::kWheelDown:
            if (m_interactions[active].ListOpen()) {
                CKeyEvent key;
                key.key = input.type == CTerminalInput::EType::kWheelUp ? EKey::kUp : EKey::kDown;
                HandleKey(*active, key);
            }
            break;
        default:
            break;  // a resize or a hang-up: the next pass draws anew or cancels
    }
    return true;
}

void CTerminalHost::HandleKey(const WindowState& dialog, const CKeyEvent& key) {
    const CDialogView view = ViewOfDialog(dialog);
    const CDialogLayout layout = LayoutDialog(view, LINES, COLS);
    if (!layout.fits) {
        // Only leaving makes sense on a screen that cannot show the dialog.
        if (key.key == EKey::kEscape) {
            framework::UserEscape(dialog);
        }
        return;
    }
    CDialogInteraction& interaction = m_interactions[&dialog];
    interaction.Sync(view);
    const int focusBefore = interaction.Focus();
    const CUserAction action = interaction.OnKey(view, layout, LINES, key);
    if (interaction.Focus() != focusBefore) {
        if (const WindowState* control = ControlAt(dialog, interaction.Focus())) {
            framework::UserFocus(*control);
        }
    }
    Carry(dialog, action);
}

void CTerminalHost::HandleClick(const WindowState& dialog, int row, int col) {
    const CDialogView view = ViewOfDialog(dialog);
    const CDialogLayout layout = LayoutDialog(view, LINES, COLS);
    if (!layout.fits) {
        return;
    }
    CDialogInteraction& interaction = m_interactions[&dialog];
    interaction.Sync(view);
    const int focusBefore = interaction.Focus();
    const CUserAction action = interaction.OnClick(view, layout, LINES, m_hits, row, col);
    if (interaction.Focus() != focusBefore) {
        if (const WindowState* control = ControlAt(dialog, interaction.Focus())) {
            framework::UserFocus(*control);
        }
    }
    Carry(dialog, action);
}

void CTerminalHost::Carry(const WindowState& dialog, const CUserAction& action) {
    using EType = CUserAction::EType;
    const WindowState* control =
        action.controlId != -1 ? dialog.FindChild(action.controlId) : nullptr;
    switch (action.type) {
        case EType::kPick:
            if (control != nullptr) {
                framework::UserPick(*control, action.index);
            }
            break;
        case EType::kClick:
            if (control != nullptr) {
                framework::UserClick(*control);
            }
            break;
        case EType::kDefault:
            framework::UserEnter(dialog);
            break;
        case EType::kCancel:
            framework::UserEscape(dialog);
            break;
        case EType::kHelp:
            // As in Windows: the help command goes through the dialog to the application,
            // which hands it back here.
            if (framework::UserHelp(dialog) == 0) {
                Help(&dialog);
            }
            break;
        case EType::kReadPort:
        case EType::kWriteNow: {
            const int id = action.type == EType::kReadPort ? IDC_READ_PORT : IDC_BUTTON1;
            if (const WindowState* hidden = dialog.FindChild(id)) {
                framework::UserClick(*hidden);
            }
            break;
        }
        case EType::kNone:
            break;
    }
}

int CTerminalHost::RunBox(CMessageBoxView& box) {
    m_boxes.push_back(&box);
    int result = 0;
    while (result == 0) {
        if (m_session.HangUpSeen()) {
            result = box.EscapeResult();
            break;
        }
        Redraw();
        const CTerminalInput input = m_session.Read(-1);
        switch (input.type) {
            case CTerminalInput::EType::kKey:
                result = box.OnKey(input.key);
                break;
            case CTerminalInput::EType::kClick:
                result = box.OnClick(input.row, input.col);
                break;
            case CTerminalInput::EType::kHangUp:
                result = box.EscapeResult();
                break;
            default:
                break;
        }
    }
    m_boxes.pop_back();
    return result;
}

int CTerminalHost::MessageBox(const WindowState* owner, const char* text, const char* caption,
                              UINT type) {
    (void)owner;  // every box is modal over all that runs
    CMessageBoxView box(caption != nullptr ? caption : "", text != nullptr ? text : "", type);
    return RunBox(box);
}

void CTerminalHost::Help(const WindowState* active) {
    (void)active;
    CMessageBoxView box(kKeysCaption, KeyHelpText(), 0);
    RunBox(box);
}

void CTerminalHost::FollowResize() {
    if (m_session.FollowResize()) {
        Redraw();
    }
}

void CResizeFollowingPause::Sleep(DWORD milliseconds) {
    // The card's pace is real; the user's keys wait and are dropped when the write is over.
    m_host.FollowResize();
    CScopedForwardingDeviceApi::Sleep(milliseconds);
}

void CTerminalHost::DialogCreated(const WindowState& dialog) {
    m_dialogs.push_back(&dialog);
}

void CTerminalHost::DialogShown(const WindowState& dialog) {
    const CDialogView view = ViewOfDialog(dialog);
    m_interactions[&dialog].Start(view, view.focus);
    Redraw();
}

void CTerminalHost::DialogDestroyed(const WindowState& dialog) {
    m_dialogs.erase(std::remove(m_dialogs.begin(), m_dialogs.end(), &dialog), m_dialogs.end());
    m_interactions.erase(&dialog);
    if (!m_dialogs.empty()) {
        // What was typed while this dialog ran without taking input (the write) is not meant
        // for the dialog below.
        m_session.DiscardTypeAhead();
        Redraw();
    }
}

void CTerminalHost::WindowChanged(const WindowState& window, framework::WindowChange change) {
    // The write runs inside one message: the bar is drawn anew after every byte, there and then.
    if (change == framework::WindowChange::ProgressPos ||
        change == framework::WindowChange::ProgressRange) {
        if (window.parent != nullptr && window.parent->visible) {
            Redraw();
        }
    }
}

void CTerminalHost::FileWritten(const char* path, long size) {
    m_status = std::string("Wrote ") + std::to_string(size) + " bytes to " + path;
}

int CTerminalHost::SignalDuringWrite() const {
    if (m_signalDuringWrite != 0) {
        return m_signalDuringWrite;
    }
    // A write that closed the dialog (OK) is over only when the program is.
    return m_writing && m_session.HangUpSeen() ? m_session.EndingSignal() : 0;
}

int CTerminalHost::WriteStarting(const char* backupPath) {
    m_writing = true;
    m_lastBackup = backupPath;
    if (backupPath[0] == '\0') {
        return 1;
    }
    // On the screen for the whole write; and where standard error is kept (a log, a file), a
    // line there too, on its way before the first byte: either outlives the program however
    // it ends. On the terminal itself that line would only scribble over the dialog.
    m_status = std::string("Backup: ") + backupPath;
    Redraw();
    if (isatty(STDERR_FILENO) == 0) {
        std::fprintf(stderr, "vymsetup: the card as it was is saved in %s\n", backupPath);
        std::fflush(stderr);
    }
    return 1;
}
